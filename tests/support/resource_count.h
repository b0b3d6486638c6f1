#pragma once
// Live resources of this process, counted directly: under Wine GetGuiResources and
// GetProcessHandleCount answer 0.

#include <cstddef>

// GetObjectType over the handle values 1..0xFFFF; only objects of the type given, if any.
std::size_t CountGdiObjects(unsigned long type = 0);
std::size_t CountWindows();        // this process's top-level windows and all their children
std::size_t CountKernelHandles();  // GetHandleInformation over 4..0xFFFC in steps of 4
