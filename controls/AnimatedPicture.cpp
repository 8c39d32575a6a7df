#include "AnimatedPicture.h"

// Placeholder until the GIF player lands: loads nothing, so the dialog shows no animation.
CAnimatedPicture::CAnimatedPicture() = default;
CAnimatedPicture::~CAnimatedPicture() = default;
BOOL CAnimatedPicture::Load(LPCSTR, LPCSTR) { return FALSE; }
BOOL CAnimatedPicture::Load(HGLOBAL, DWORD) { return FALSE; }
BOOL CAnimatedPicture::Draw() { return FALSE; }
void CAnimatedPicture::Stop() {}
void CAnimatedPicture::Unload() {}
bool CAnimatedPicture::IsPlaying() const { return false; }
int CAnimatedPicture::FrameCount() const { return 0; }
