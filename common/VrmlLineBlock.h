// The VRML node of one straight line piece, as the track and cloud viewers append it to the
// host's export. Each viewer writes its lines through its own indented line writer, whose mode
// codes differ, and indents the index list and spaces the colour list its own way.
#pragma once
#include <functional>
#include <string>

// How a viewer writes the block.
struct CVrmlBlockStyle
{
    int m_Keep;              // the writer's code for "same level"
    int m_Open;              // for "one level deeper before the line"
    int m_Close;             // for "one level shallower before the line"
    bool m_IndexListDeeper;  // " 0, 1, -1" one level below "coordIndex ["
    const char* m_ColorList; // what stands before the colour: "color [" or "color [ "
};

// Writes one line with the style's mode code.
using VrmlLineWriter = std::function<void(const std::string& line, int mode)>;

// The block from the point "from" to "to" (each "x y z", see VrmlTriple) in the colour "r g b".
void WriteVrmlLineBlock(const std::string& from, const std::string& to, const std::string& color,
                        const CVrmlBlockStyle& style, const VrmlLineWriter& writeLine);
