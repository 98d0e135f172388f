#pragma once

// Lets a test catch a running copy at a named step of a save: when TARVEL_STOP_AT names the step,
// the copy stops itself there, once, until the test resumes it. Only the test build has it.
#ifdef TARVEL_TEST_HOOKS
#include <QtGlobal>

#include <csignal>

inline void stopForTest(const char *step)
{
    if (qgetenv("TARVEL_STOP_AT") == step && qunsetenv("TARVEL_STOP_AT"))
        ::raise(SIGSTOP);
}
#else
inline void stopForTest(const char *) { }
#endif
