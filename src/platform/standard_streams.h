#pragma once
// The process's standard input, output and error.

/// Readies the standard streams before anything is read or written: no closed one is left for
/// a file the run opens to take its place (a null device that refuses to be written or read
/// stands in, so the run's writes there fail as on the closed stream), and standard input
/// delivers its bytes as they are (the readers drop a carriage return before a line feed).
void prepare_standard_streams();

/// True when standard input is an interactive terminal.
bool standard_input_is_terminal();
