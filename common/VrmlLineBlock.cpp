#include "common/VrmlLineBlock.h"

void WriteVrmlLineBlock(const std::string& from, const std::string& to, const std::string& color,
                        const CVrmlBlockStyle& style, const VrmlLineWriter& writeLine)
{
    const int keep = style.m_Keep, open = style.m_Open, close = style.m_Close;
    writeLine("DEF _00 Transform {", keep);
    writeLine("children [", open);
    writeLine("Shape {", open);
    writeLine("geometry IndexedLineSet {", open);
    writeLine("coord Coordinate {", open);
    writeLine("point [", open);
    writeLine(from, keep);
    writeLine(to, keep);
    writeLine("]", keep);
    writeLine("}", close);
    writeLine("coordIndex [", keep);
    writeLine(" 0, 1, -1", style.m_IndexListDeeper ? open : keep);
    writeLine("]", close);
    writeLine("colorPerVertex FALSE", keep);
    writeLine("color DEF particlecolors Color { " + std::string(style.m_ColorList) + color + " ] }",
              keep);
    writeLine("colorIndex [ 0 ]", keep);
    writeLine("}", close);
    writeLine("}", close);
    writeLine("] }", close);
}
