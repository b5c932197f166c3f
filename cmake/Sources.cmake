# Source lists shared by the host and the Windows builds.

# Logic that needs no platform: it builds everywhere and is unit-tested natively.
set(TAMRIK_PURE_SOURCES
    app/CommaList.cpp
    app/LaunchText.cpp
    app/SiteList.cpp
    app/Switches.cpp
    framework/ProfileText.cpp
)
