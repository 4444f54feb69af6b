#pragma once

// The test program's data folder (tests/<folder>/data) and its own folder,
// included into every test source by the build. Both come from one source
// generated per test program: no other compile sees an absolute path, so
// the compiler cache serves a clone of the project in another folder.
const char* ZorvaTestDataDir();
const char* ZorvaTestBinDir();

#define ZORVA_TEST_DATA ZorvaTestDataDir()
#define ZORVA_TEST_BIN ZorvaTestBinDir()
