// Windows-like basic types and constants, so dialog code reads as it would on the original
// platform.
#pragma once
#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xff) | (COLORREF(g & 0xff) << 8) | (COLORREF(b & 0xff) << 16);
}
constexpr int GetRValue(COLORREF c)
{
    return int(c & 0xff);
}
constexpr int GetGValue(COLORREF c)
{
    return int((c >> 8) & 0xff);
}
constexpr int GetBValue(COLORREF c)
{
    return int((c >> 16) & 0xff);
}

// Dialog results and message-box answers.
enum : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// Message-box types: buttons in the low nibble, icon in the next, default button above.
enum : UINT
{
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_TYPEMASK = 0xf,
    MB_ICONERROR = 0x10,
    MB_ICONSTOP = MB_ICONERROR,
    MB_ICONHAND = MB_ICONERROR,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = MB_ICONWARNING,
    MB_ICONINFORMATION = 0x40,
    MB_ICONASTERISK = MB_ICONINFORMATION,
    MB_ICONMASK = 0xf0,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xf00,
};

// Show commands.
enum : int
{
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOW = 5,
};

// Notification codes delivered with a control id.
enum : int
{
    BN_CLICKED = 0,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    CBN_SELCHANGE = 1,
    CLBN_CHKCHANGE = 40,
    EN_SETFOCUS = 0x100,
    EN_KILLFOCUS = 0x200,
    EN_CHANGE = 0x300,
    NM_CLICK = -2,
    NM_DBLCLK = -3,
    NM_RCLICK = -5,
    LVN_ITEMCHANGED = -101,
};

// Scroll codes of a slider move.
enum : UINT
{
    SB_THUMBTRACK = 5,
    SB_ENDSCROLL = 8,
};
