#pragma once

// The launcher's compiled-in pictures live under ":/qvr/" (see qvr.qrc).
// Linking the qvr_resources library is enough to have them; this check
// lets a program or a test confirm that they really arrived.
bool qvrResourcesPresent();
