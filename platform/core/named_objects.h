#pragma once

#include "platform/core/CString.h"

#include <string>

// Named objects shared between processes, as lock files held with flock in
// LockFolder(). The kernel drops a lock when its holder exits in any way
// (kill -9 included), so a crashed program never leaves one behind.

// $ZORVA_HOME when set (so separate data roots, as in tests, never meet),
// else $XDG_RUNTIME_DIR, else the data root.
CString LockFolder();

// A single-instance mutex: held by at most one object in all processes.
class CNamedMutex {
public:
    CNamedMutex() = default;
    ~CNamedMutex() { Close(); }
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    // Takes the mutex until Close or destruction. False when someone else
    // holds it (AlreadyExists() is then true) or the lock file cannot be made.
    bool Create(const CString& name);
    void Close();

    bool IsHeld() const { return m_fd >= 0; }
    bool AlreadyExists() const { return m_alreadyExists; }
    const std::string& Error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_alreadyExists = false;
    std::string m_error;
};

// A named event that exists while some object holds it open; any number of
// objects in any processes may hold it at once.
class CNamedEvent {
public:
    CNamedEvent() = default;
    ~CNamedEvent() { Close(); }
    CNamedEvent(const CNamedEvent&) = delete;
    CNamedEvent& operator=(const CNamedEvent&) = delete;

    // Creates or opens the event and holds it until Close or destruction.
    // AlreadyExists() tells whether someone held it before.
    bool Create(const CString& name);
    void Close();

    bool IsOpen() const { return m_fd >= 0; }
    bool AlreadyExists() const { return m_alreadyExists; }
    const std::string& Error() const { return m_error; }

    // Whether any object in any process holds the event now.
    static bool Exists(const CString& name);

private:
    int m_fd = -1;
    bool m_alreadyExists = false;
    std::string m_error;
};
