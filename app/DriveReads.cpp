#include "DriveReads.h"

#include "framework/Platform.h"

namespace {

// The read's own error mode where the system has one (Windows 7 and later);
// elsewhere the process's, which the menu sets while it reads.
void FailCriticalErrorsOnThisThread()
{
    using Call = BOOL(WINAPI*)(DWORD, LPDWORD);
    static const Call call =
        reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                                      "SetThreadErrorMode")));
    if (call)
        call(SEM_FAILCRITICALERRORS, nullptr);
}

}  // namespace

DWORD WINAPI DriveRead::Thread(void* parameter)
{
    auto* read = static_cast<DriveRead*>(parameter);
    FailCriticalErrorsOnThisThread();
    {
        const NativeFileSystem asItIs;
        read->Run();
    }
    read->Release();
    return 0;
}

// The last of the two owners, the caller or the thread, frees the read.
void DriveRead::Release()
{
    if (InterlockedDecrement(&references_) == 0) {
        if (thread_)
            CloseHandle(thread_);
        delete this;
    }
}

DriveReads::~DriveReads()
{
    for (DriveRead*& late : late_)
        if (late)
            late->Release();
}

bool DriveReads::Busy(char letter)
{
    DriveRead*& late = late_[Slot(letter)];
    if (late && WaitForSingleObject(late->thread_, 0) == WAIT_OBJECT_0) {
        late->Release();
        late = nullptr;
    }
    return late != nullptr;
}

bool DriveReads::Start(DriveRead* read)
{
    if (Busy(read->letter_)) {
        delete read;
        return false;
    }
    read->references_ = 2;
    DWORD id = 0;
    read->thread_ = CreateThread(nullptr, 0, DriveRead::Thread, read, 0, &id);
    if (!read->thread_) {
        delete read;
        return false;
    }
    return true;
}

bool DriveReads::Finish(DriveRead* read, DWORD deadline, DWORD patience)
{
    const LONG left = static_cast<LONG>(deadline - GetTickCount());
    bool ended = WaitForSingleObject(read->thread_, left > 0 ? static_cast<DWORD>(left) : 0) == WAIT_OBJECT_0;
    for (LONG seen = 0; !ended && read->progress_ != seen;) {
        seen = read->progress_;
        ended = WaitForSingleObject(read->thread_, patience) == WAIT_OBJECT_0;
    }
    if (!ended) {
        late_[Slot(read->letter_)] = read;
        return false;
    }
    CloseHandle(read->thread_);
    read->thread_ = nullptr;
    return true;  // the thread has let go: the read is the caller's alone
}
