// An OpenGL compatibility-profile context without a window (EGL, Mesa's surfaceless platform or
// a GPU's EGL device), drawing into a framebuffer object; for batch rendering and render tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct _cairo_surface;

class COffscreenGL
{
public:
    COffscreenGL() = default;
    ~COffscreenGL();
    COffscreenGL(const COffscreenGL&) = delete;
    COffscreenGL& operator=(const COffscreenGL&) = delete;

    // Creates the context and a colour + depth framebuffer of this size; false with Error() set.
    bool Create(int width, int height);
    bool Resize(int width, int height);
    bool MakeCurrent();
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    const std::string& Error() const { return m_Error; }

    // RGBA rows, top row first.
    std::vector<std::uint8_t> ReadPixels() const;

private:
    void DestroyFramebuffer();

    void* m_Display = nullptr;
    void* m_Context = nullptr;
    unsigned m_Fbo = 0, m_Color = 0, m_Depth = 0;
    int m_Width = 0, m_Height = 0;
    std::string m_Error;
};

// Writes RGBA rows (top row first) as a PNG file; error, when given, says why it could not.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string* error = nullptr);
// Writes a cairo image surface as a PNG file through a temporary file beside it.
bool WriteSurfacePng(_cairo_surface* surface, const std::string& path, std::string& error);
// Reads a PNG file into RGBA rows; false if it cannot be read.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgba);
