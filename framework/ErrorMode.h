// While one of these lives, a drive without a medium fails the call that
// reaches it instead of asking the user to insert one; the mode in force
// before comes back however the scope ends.
#pragma once

#include <windows.h>

class CriticalErrorsFailed {
public:
    CriticalErrorsFailed() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsFailed() { SetErrorMode(previous_); }
    CriticalErrorsFailed(const CriticalErrorsFailed&) = delete;
    CriticalErrorsFailed& operator=(const CriticalErrorsFailed&) = delete;

private:
    const UINT previous_;
};
