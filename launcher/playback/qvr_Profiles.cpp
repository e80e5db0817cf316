// The Profiles sub-page's part of the settings OK.
#include "launcher/playback/qvr_Run.h"

void TRunPanel::RewriteVideoCon() {}
