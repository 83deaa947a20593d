#include "model/fontrecord.h"

#include "platform/archive.h"


void CopyLogFont(LOGFONT& dst, const LOGFONT& src)
{
    dst = src;
}

void StoreLogFont(CArchive& ar, const LOGFONT& f)
{
    ar << WORD(f.lfHeight) << WORD(f.lfWidth) << WORD(f.lfEscapement) << WORD(f.lfOrientation)
       << WORD(f.lfWeight);
    ar << f.lfItalic << f.lfUnderline << f.lfStrikeOut << f.lfCharSet << f.lfOutPrecision << f.lfClipPrecision
       << f.lfQuality << f.lfPitchAndFamily;
    ar.Write(f.lfFaceName, sizeof f.lfFaceName);
}

void LoadLogFont(CArchive& ar, LOGFONT& f)
{
    WORD height, width, escapement, orientation, weight;
    ar >> height >> width >> escapement >> orientation >> weight;
    f.lfHeight = height;
    f.lfWidth = width;
    f.lfEscapement = static_cast<std::int16_t>(escapement);
    f.lfOrientation = static_cast<std::int16_t>(orientation);
    f.lfWeight = weight;
    ar >> f.lfItalic >> f.lfUnderline >> f.lfStrikeOut >> f.lfCharSet >> f.lfOutPrecision >> f.lfClipPrecision >>
        f.lfQuality >> f.lfPitchAndFamily;
    ar.Read(f.lfFaceName, sizeof f.lfFaceName);
}
