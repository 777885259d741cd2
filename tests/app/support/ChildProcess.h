#pragma once

#include <functional>

// Runs body in a child process and gives back how the child ended, as waitpid tells it. The child
// ends with body's result at once, without the parent's exit handlers.
int inChild(const std::function<int()>& body);
