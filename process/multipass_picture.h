#pragma once

// The picture of the multi-pass dialog: a part cut in three passes, the
// die support left standing until the last one, the lead-in from the
// threading point. Drawn once into a bitmap the dialog's picture shows.

class CBitmap;

constexpr int kMultiPassPictureWidth = 250, kMultiPassPictureHeight = 180;

// Creates bitmap (kMultiPassPictureWidth x kMultiPassPictureHeight) and
// draws the picture into it.
bool DrawMultiPassPicture(CBitmap& bitmap);
