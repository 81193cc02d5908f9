// How today's MP4Box prints: everything on standard error, lines ended by CR LF, progress
// bars rewritten by CR and wiped by a line of spaces, each message wrapped in colour codes
// when SHELL is set: warnings 33, information 32, "IsoMedia import" and "Saving" lines and
// split progress 37; the bars of imports and writing stay plain. Error lines get 31 (no
// coloured error was captured).
#pragma once

#include <string>

#include "standin/standin.h"

namespace standin {

TBehaviour& Behaviour();

void Err(const std::string& bytes);
// A message line; Colour is the code it gets under a shell.
void Say(const std::string& text, const char* colour = "33");
[[noreturn]] void Refuse(const std::string& text);

// "Title: |=====     | (NN/100)" from First to Last, each ended by CR, then (Wipe) a line of
// spaces over it.
void Progress(const std::string& title, int first, int last = 100, bool wipe = true);
// "Saving File: How", in the two coloured pieces the tool prints it in.
void SaySaving(const std::string& file, const std::string& how);
// "splitting:  NN.NN %" from From to To (percent of the whole job).
void SplitProgress(double from, double to);

// The tail of a run that could not write its output: a blank line and the error again.
[[noreturn]] void IoFailure(const std::string& firstLine);
// The tool's line when a file cannot be opened for writing.
std::string CannotOpenLine(const std::string& file, int opened);

// Writes Text as the whole file (replacing it); false when it cannot.
bool WriteFileText(const std::string& name, const std::string& text);

}  // namespace standin
