#pragma once

// Connects the wire-path library to the view (path_hooks.h): generation on
// the worker, the cancel, what the view reads of a path and the ".dcx"
// writer; also keeps the path class registered for reading drawings. The
// drawing program calls it once at start-up; tests that build paths call
// it in their set-up.
void InstallPaths();
