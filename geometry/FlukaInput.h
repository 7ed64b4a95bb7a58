// The lines of a FLUKA input as the code sees them after its preprocessor: #define, #undefine,
// #if/#ifdef/#ifndef/#elif/#else/#endif and #include (relative to the including file's folder)
// are applied, comment lines ("*" in column 1, "!" anywhere starts a comment) are dropped.
#pragma once
#include <string>
#include <vector>

struct CInputLine
{
    std::string m_Text;
    std::string m_File; // the file it came from (the input or an included one)
    int m_Line = 0;     // its number there

    // "line 12" or "inc.inp line 3".
    std::string Where(const std::string& mainFile) const;
};

class CFlukaInput
{
public:
    // Reads the input and its includes. False when a file cannot be read; the preprocessor's
    // own errors (unbalanced #if, an include that cannot be opened, too deep a nesting) are
    // in Errors() either way.
    bool Read(const std::string& path);
    const std::vector<CInputLine>& Lines() const { return m_Lines; }
    const std::vector<std::string>& Errors() const { return m_Errors; }
    const std::string& Path() const { return m_Path; }

private:
    bool ReadFile(const std::string& path, int depth);
    void Directive(const CInputLine& line, const std::string& folder, int depth);
    bool Active() const;

    struct CCondition
    {
        bool m_Taken;  // some branch of this #if was taken already
        bool m_Active; // the current branch is read
        bool m_SeenElse;
    };

    std::string m_Path;
    std::vector<CInputLine> m_Lines;
    std::vector<std::string> m_Errors;
    std::vector<std::string> m_Defined;
    std::vector<CCondition> m_Conditions;
    int m_Files = 0;
};
