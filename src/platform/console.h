#pragma once

// While one of these lives, text written to a console window shows as
// UTF-8 (paths with any letters); the console's own setting comes back
// when it goes. Output to a pipe or a file is left as it is.
struct Utf8Console {
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    /// Gives the console its own setting back now.
    void restore();
    Utf8Console& operator=(const Utf8Console&) = delete;

    unsigned savedCodePage = 0; // 0: nothing to restore
};

/// True when this program is the only one attached to its console window,
/// which then closes as soon as the program ends (started by a double-click
/// or a dropped file on Windows). False for a terminal or a pipe.
bool isOnlyProgramInConsole();

/// True for a program built without a console (Windows' GUI subsystem),
/// whose standard streams lead nowhere a user looks unless its starter
/// gave it some; false everywhere else.
bool isWindowedProgram();
