#include "Volinfo.h"

#include <windows.h>

#include "framework/Application.h"
#include "framework/ErrorMode.h"
#include "framework/Platform.h"

namespace {

// The platform's path limit and the terminating zero.
constexpr DWORD kLabelBufferSize = MAX_PATH + 1;

}  // namespace

TVolumeInformation::TVolumeInformation(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

// Only the letter is stored: the volume is asked at the next read.
void TVolumeInformation::SetDrive(char drive)
{
    drive_ = drive;
}

std::string TVolumeInformation::VolumeName() const
{
    const CriticalErrorsFailed guard;
    return VolumeNameOf(Ask(drive_));
}

TVolumeInformation::Answer TVolumeInformation::Ask(char drive)
{
    const char root[] = {drive, ':', '\\', '\0'};
    char label[kLabelBufferSize] = {};
    DWORD maximumComponentLength = 0;
    DWORD fileSystemFlags = 0;
    if (!Platform().getVolumeInformation(root, label, kLabelBufferSize, nullptr, &maximumComponentLength,
                                         &fileSystemFlags, nullptr, 0))
        return {false, {}, GetLastError()};
    return {true, label, 0};
}

// The error code goes back where ProcessError reads it.
std::string TVolumeInformation::VolumeNameOf(const Answer& answer) const
{
    if (!answer.read) {
        SetLastError(answer.error);
        ProcessError();
        return {};
    }
    std::string name = answer.label;
    const auto size = static_cast<DWORD>(name.size());
    if (static_cast<unsigned char>(drive_) >= 'a')
        CharLowerBuffA(&name[0], size);
    else
        CharUpperBuffA(&name[0], size);
    return name;
}

void TVolumeInformation::ProcessError() const
{
    const DWORD error = GetLastError();
    if (OnError.Assigned()) {
        OnError(static_cast<int>(error));
        return;
    }
    // The box is modal to the application window; the window that was
    // active before gets the activation back.
    const HWND active = GetActiveWindow();
    const std::string text = "Error " + std::to_string(static_cast<int>(error)) + " in GetVolumeInformation";
    Platform().messageBox(Application ? Application->Handle() : nullptr, text.c_str(), "TVolumeInformation",
                          MB_OK | MB_ICONEXCLAMATION);
    if (active && IsWindow(active))
        SetActiveWindow(active);
}
