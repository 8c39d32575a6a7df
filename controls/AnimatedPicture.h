// A picture control that shows an image and plays an animated GIF on a thread of its own.
#pragma once
#include "afxwin.h"

class CAnimatedPicture : public CStatic {
public:
    CAnimatedPicture();
    ~CAnimatedPicture() override;

    // From a resource of the program (name or id, and type such as "GIF").
    BOOL Load(LPCSTR name, LPCSTR type);
    // From movable global memory of the given size; the caller keeps and frees it.
    BOOL Load(HGLOBAL hGlobal, DWORD size);
    // Shows the image: starts the animation of an animated GIF, or renders a still picture.
    BOOL Draw();
    // Ends the animation within its current wait.
    void Stop();
    void Unload();
    bool IsPlaying() const;
    int FrameCount() const;
};
