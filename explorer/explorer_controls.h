// The explorer controls known to the stored form descriptions by class name.
#pragma once

void RegisterExplorerControls();
