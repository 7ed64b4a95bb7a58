#include "platform/Offscreen.h"

#include "platform/SafeWrite.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <cairo.h>

#include <cstring>

namespace
{
EGLDisplay OpenDisplay()
{
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    const char* ext = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (getPlatformDisplay && ext)
    {
        if (std::strstr(ext, "EGL_MESA_platform_surfaceless"))
        {
            EGLDisplay d =
                getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
            if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
        }
        auto queryDevices =
            reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT devices[8];
        EGLint count = 0;
        if (queryDevices && queryDevices(8, devices, &count))
            for (EGLint i = 0; i < count; ++i)
            {
                EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
            }
    }
    return EGL_NO_DISPLAY;
}
} // namespace

COffscreenGL::~COffscreenGL()
{
    if (!m_Display) return;
    if (m_Context && eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_Context))
        DestroyFramebuffer();
    eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_Context) eglDestroyContext(m_Display, m_Context);
}

bool COffscreenGL::Create(int width, int height)
{
    EGLDisplay display = OpenDisplay();
    if (display == EGL_NO_DISPLAY)
    {
        m_Error = "no EGL display without a window (surfaceless or device platform)";
        return false;
    }
    m_Display = display;
    if (!eglBindAPI(EGL_OPENGL_API))
    {
        m_Error = "EGL cannot bind desktop OpenGL";
        return false;
    }
    const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    eglChooseConfig(display, configAttribs, &config, 1, &count);
    const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    m_Context = eglCreateContext(display, count > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT,
                                 contextAttribs);
    if (!m_Context)
    {
        m_Error = "eglCreateContext failed";
        return false;
    }
    return Resize(width, height);
}

void COffscreenGL::DestroyFramebuffer()
{
    if (m_Fbo) glDeleteFramebuffers(1, &m_Fbo);
    if (m_Color) glDeleteRenderbuffers(1, &m_Color);
    if (m_Depth) glDeleteRenderbuffers(1, &m_Depth);
    m_Fbo = m_Color = m_Depth = 0;
}

bool COffscreenGL::Resize(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
    {
        m_Error = "image size out of range (1..16384)";
        return false;
    }
    if (!MakeCurrent()) return false;
    DestroyFramebuffer();
    glGenFramebuffers(1, &m_Fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    glGenRenderbuffers(1, &m_Color);
    glBindRenderbuffer(GL_RENDERBUFFER, m_Color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_Color);
    glGenRenderbuffers(1, &m_Depth);
    glBindRenderbuffer(GL_RENDERBUFFER, m_Depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              m_Depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        m_Error = "framebuffer incomplete";
        return false;
    }
    m_Width = width;
    m_Height = height;
    glViewport(0, 0, width, height);
    return true;
}

bool COffscreenGL::MakeCurrent()
{
    if (!m_Context || !eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE,
                                      static_cast<EGLContext>(m_Context)))
    {
        m_Error = "eglMakeCurrent failed";
        return false;
    }
    if (m_Fbo) glBindFramebuffer(GL_FRAMEBUFFER, m_Fbo);
    return true;
}

std::vector<std::uint8_t> COffscreenGL::ReadPixels() const
{
    std::vector<std::uint8_t> rows(static_cast<size_t>(m_Width) * m_Height * 4);
    if (rows.empty()) return rows;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_Width, m_Height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    // GL's first row is the bottom one.
    const size_t stride = static_cast<size_t>(m_Width) * 4;
    for (int y = 0; y < m_Height / 2; ++y)
        std::swap_ranges(rows.begin() + y * stride, rows.begin() + (y + 1) * stride,
                         rows.begin() + (m_Height - 1 - y) * stride);
    return rows;
}

bool WriteSurfacePng(cairo_surface_t* surface, const std::string& path, std::string& error)
{
    const std::string temp = PartName(path);
    const cairo_status_t status = cairo_surface_write_to_png(surface, temp.c_str());
    if (status != CAIRO_STATUS_SUCCESS)
        return AbandonFile(temp, path, cairo_status_to_string(status), error);
    return CommitFile(temp, path, error);
}

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string* error)
{
    if (width <= 0 || height <= 0 || rgba.size() < static_cast<size_t>(width) * height * 4)
    {
        if (error) *error = "the image has no pixels";
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
    {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x)
        {
            const std::uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            row[x] = 0xff000000u | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        }
    }
    cairo_surface_mark_dirty(surface);
    std::string why;
    const bool ok = WriteSurfacePng(surface, path, why);
    cairo_surface_destroy(surface);
    if (!ok && error) *error = why;
    return ok;
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgba)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(surface);
        return false;
    }
    width = cairo_image_surface_get_width(surface);
    height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x)
        {
            std::uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = (row[x] >> 16) & 0xff;
            p[1] = (row[x] >> 8) & 0xff;
            p[2] = row[x] & 0xff;
            p[3] = (row[x] >> 24) & 0xff;
        }
    }
    cairo_surface_destroy(surface);
    return true;
}
