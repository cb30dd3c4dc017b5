#pragma once

// The standard streams as a program started by anyone finds them: closed
// (a launcher or a service manager may start it with none), or a pipe whose
// reader has gone.

/// Call first, before any file is opened. Opens each standard stream that
/// is closed on the system's null device, so that no file of the program
/// ever takes its place and nothing said there lands in a file; and makes a
/// write to a pipe without a reader fail (and so be dropped) instead of
/// ending the program.
void guardStandardStreams();

/// Puts back what the program was started with for a write to a pipe
/// without a reader, for a program that runs in this one's place and
/// should meet what its launcher gave.
void restoreBrokenPipeHandling();
