// Every test process runs in a private world: HOME, the XDG folders and the
// Wine prefix point into one temporary folder made before any test runs.
#pragma once

#include <QString>

// Sets up the private folders; called by the test mains before anything else.
void SetUpTestEnvironment();
// Removes the private folders; called by the test mains at the end.
void TearDownTestEnvironment();
// The private root folder of this test process.
QString TestRoot();
