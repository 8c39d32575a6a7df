// The screen's scale: pixels drawn at 96 DPI (100%), scaled to the screen's DPI. Images are made at
// this size; dialogs and pages scale by themselves, laid out in dialog units.
#pragma once

int AfxScaled(int px);
