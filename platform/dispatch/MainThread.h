#pragma once

#include <functional>

// "On the main queue": runs `block` on the main thread's event loop, on a later turn, from any thread.
void dispatchToMainThread(std::function<void()> block);

// Runs `block` on the main thread after `seconds`.
void dispatchAfter(double seconds, std::function<void()> block);

bool isMainThread();
