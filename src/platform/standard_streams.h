#pragma once
// The process's standard input, output and error.

/// Makes sure the three standard streams are open, so that no file the run opens takes the place
/// of one: a closed stream is taken by a null device that refuses to be written or read, and
/// the run's writes there fail as they would on the closed stream.
void reserve_standard_streams();

/// True when standard input is an interactive terminal.
bool standard_input_is_terminal();
