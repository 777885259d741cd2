#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

int inChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}
