// The label of the volume in one drive, asked of the system afresh at every
// read. While it asks, the system's own "drive not ready" dialog is kept
// away; a failed read goes to OnError, or to a message box of the
// component's own when no handler is assigned.
#pragma once

#include <string>

#include "framework/Component.h"
#include "framework/Event.h"

// The handler of a failed read gets the system's error code; no Sender.
using TErrorEvent = TEvent<int>;

class TVolumeInformation : public TComponent {
public:
    explicit TVolumeInformation(TComponent* owner, std::string name = {});

    // The drive letter. Its case is also the case the label comes back in:
    // from 'a' (97) up in small letters, anything below in capitals.
    char Drive() const { return drive_; }
    void SetDrive(char drive);

    // Empty when the volume has no label and when the read fails.
    std::string VolumeName() const;

    // The platform's answer for one drive, asked on any thread, with the
    // critical-error dialog kept away; and what VolumeName makes of it, on
    // the component's own thread: the label in the drive letter's case, or
    // the failure reported.
    struct Answer {
        bool read;
        std::string label;
        unsigned long error;  // the last-error code of a failed read
    };
    static Answer Ask(char drive);
    std::string VolumeNameOf(const Answer& answer) const;

    TErrorEvent OnError;

private:
    void ProcessError() const;
    char drive_ = 'C';
};
