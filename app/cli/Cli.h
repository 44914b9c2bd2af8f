#pragma once

#include <iosfwd>
#include <span>
#include <string>

// quillmark-cli without its process: args are the arguments after the program name. Returns the
// exit code: 0 done, 1 the work failed (the message is on err), 2 a usage error. A batch draws
// its progress bar on err only with progressBar (the process passes whether stderr is a
// terminal).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           bool progressBar = false);
