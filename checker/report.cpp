#include "checker/report.h"

#include <apt-pkg/error.h>

#include <cstdio>
#include <iostream>

namespace AptCheck {

int failWithAptErrors()
{
    if (!_error->PendingError())
        _error->Error("apt_check failed for an unknown reason");
    _error->DumpErrors(std::cerr, GlobalError::WARNING);
    return FailureExitCode;
}

int failWith(const std::string& message)
{
    _error->Error("%s", message.c_str());
    return failWithAptErrors();
}

void printAptWarnings()
{
    _error->DumpErrors(std::cerr, GlobalError::WARNING);
}

bool writeOutput(const std::string& text)
{
    const size_t written = std::fwrite(text.data(), 1, text.size(), stdout);
    if (written != text.size() || std::fflush(stdout) != 0 || std::ferror(stdout))
        return _error->Errno("write", "Could not write the result to standard output");
    return true;
}

} // namespace AptCheck
