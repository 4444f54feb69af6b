#pragma once

// The SVG text of a picture drawn for this program (app/icons/<name>.svg),
// or null when there is none of that name.
const char* OwnIconSvg(const char* name);
