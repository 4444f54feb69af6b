#include "tests/app/frame_fixture.h"

IMPLEMENT_DYNCREATE(FrameTestView, CView)
