// Why an input file gives nothing to work with, as the user is told: every page that reads
// an input (mux, concatenation, split, extract, converter) says it with the same words.
#pragma once

#include "app/common/named_texts.h"
#include "vcl/sysutils.h"

// The file is not there (a typed name, a file moved away).
WideString MissingInputText(const WideString& FileName, const TNamedTexts& Texts = NamedTexts());
// The file gave no track: MediaInfo does not read it as media (or finds no stream in it, as
// in an MP4 file without its index) and its extension has no fixed description.
WideString UnreadableInputText(const WideString& FileName, const TNamedTexts& Texts = NamedTexts());

// The notice for an input of the split, extract or converter page (full name): missing,
// or giving no track by the media analysis; empty when tracks can be made from it.
WideString InputProblemText(const WideString& FileName, const TNamedTexts& Texts = NamedTexts());
