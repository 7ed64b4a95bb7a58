// The geometry input formats the host reads, one declaration each: its name, its file filter,
// how its content is recognised and its reader.
#pragma once
#include "geometry/Geometry.h"

#include <string>
#include <vector>

struct CGeometryFormat
{
    const char* m_Name;   // "FLUKA input"
    const char* m_Filter; // "FLUKA input (*.inp)|*.inp"
    // Whether the start of a file is this format's.
    bool (*m_Recognise)(const std::string& head);
    // Reads the file into geometry (left as it was on failure), with the errors or notes.
    bool (*m_Read)(const std::string& path, CGeometry& geometry, std::vector<std::string>& errors,
                   std::vector<std::string>& notes);
};

const std::vector<CGeometryFormat>& GeometryFormats();

// Reads a geometry file with the format its content names. False with the errors (a file no
// format recognises: one message naming the formats tried).
bool ReadGeometry(const std::string& path, CGeometry& geometry, std::vector<std::string>& errors,
                  std::vector<std::string>& notes);
