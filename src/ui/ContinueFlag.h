#pragma once

// The go-on flag of long operations (the application's m_bContinue), reachable
// without the application object: the application binds its member at start-up;
// until then (and in tests) a flag of this class stands in. Loops set it to 1
// before they start and stop when it turns 0; the progress dialog's Cancel and
// Escape clear it. Interface thread only.
class CContinueFlag {
public:
    static void Bind(int* pFlag);  // nullptr goes back to the built-in flag
    static int Get();
    static void Set(int bValue);
    static void Clear() { Set(0); }
};
