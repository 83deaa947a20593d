// The stored font record shared by texts and the drawing file header.
#pragma once

#include "platform/logfont.h"

class CArchive;

void CopyLogFont(LOGFONT& dst, const LOGFONT& src);
// 50 bytes: five 16-bit words, eight bytes, the 32 face bytes.
void StoreLogFont(CArchive& ar, const LOGFONT& font);
// Height, width and weight come back unsigned; escapement and orientation signed.
void LoadLogFont(CArchive& ar, LOGFONT& font);
