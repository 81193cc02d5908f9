// A tagging run's copy read back through MediaInfo before it replaces its file: the copy
// must hold every track and every tag of the file as before, but for the tags the run was
// asked to set. MP4Box can drop every text tag of a file and still end well.
#pragma once

#include <vector>

#include "app/commands/itags_argument.h"
#include "app/media/media_info.h"

// The general-stream parameters compared (the tags MediaInfo reads from an MP4 file and the
// number of tracks of each kind), those a run with the tags Asked may change left out.
std::vector<WideString> KeptTagParameters(const TTagFields& Asked);

// The parameters of KeptTagParameters(Asked) whose value Copy does not give as Original
// does, and the title, artist or album Asked sets that Copy does not hold as asked; none
// when the copy is right.
std::vector<WideString> LostTags(TMediaAnswers& Original, TMediaAnswers& Copy, const TTagFields& Asked);
