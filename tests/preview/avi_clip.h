// A short uncompressed AVI clip written by the tests themselves: DirectShow renders it
// without any decoder beyond what the system has.
#pragma once

#include <string>

// Writes Frames frames of Width x Height (24-bit) at Fps frames a second: four colour
// bars with a white band that moves one step a frame. False when the file cannot be written.
bool WriteTestClip(const std::wstring& FileName, int Width, int Height, int Frames, int Fps);

// A file name in the system's temporary folder.
std::wstring TempFileName(const std::wstring& Name);
