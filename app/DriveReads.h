// Reads of the drives menu on threads of their own, so that a drive that
// does not answer holds up neither the tray nor the menu. Each read has
// until a deadline, and past it as long as the platform keeps answering its
// calls, however long a large directory takes; one that stalls goes on
// alone, its answer unused, and its drive gets no other read until it has
// ended: a drive that never answers holds one thread, however often the
// menu is opened.
#pragma once

#include <windows.h>

class DriveRead {
public:
    explicit DriveRead(char letter) : letter_(letter) {}
    virtual ~DriveRead() = default;
    DriveRead(const DriveRead&) = delete;
    DriveRead& operator=(const DriveRead&) = delete;
    // Runs on the read's thread, which sees the file system past WOW64 and
    // fails a drive without a medium instead of asking for one.
    virtual void Run() = 0;
    char letter() const { return letter_; }

protected:
    // Counted up by the read each time one of its calls comes back.
    void Answered() { InterlockedIncrement(&progress_); }
    volatile LONG* Progress() { return &progress_; }

private:
    friend class DriveReads;
    static DWORD WINAPI Thread(void* read);
    void Release();

    const char letter_;
    LONG references_ = 1;
    volatile LONG progress_ = 0;
    HANDLE thread_ = nullptr;
};

class DriveReads {
public:
    DriveReads() = default;
    ~DriveReads();
    DriveReads(const DriveReads&) = delete;
    DriveReads& operator=(const DriveReads&) = delete;

    // Starts read on a thread of its own and takes it over. False, with the
    // read freed, when its drive still has a read that missed its deadline,
    // or no thread could be had.
    bool Start(DriveRead* read);
    // Waits for a started read until the deadline, a GetTickCount value,
    // and on while each stretch of patience milliseconds sees the read
    // progress. True when it ended: the read is the caller's again, to look
    // at and to delete. False when it goes on: it is no longer the caller's.
    bool Finish(DriveRead* read, DWORD deadline, DWORD patience);
    // Whether the drive's last read missed its deadline and still goes on.
    bool Busy(char letter);

private:
    static int Slot(char letter) { return (letter | 0x20) - 'a'; }
    DriveRead* late_[26] = {};
};
