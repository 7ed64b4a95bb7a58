#include "platform/Clipboard.h"

#include "platform/ScriptVerbs.h"

namespace
{
CClipboardData& Store()
{
    static CClipboardData data;
    return data;
}

ClipboardSink& Sink()
{
    static ClipboardSink sink;
    return sink;
}

void Changed()
{
    if (Sink()) Sink()(Store());
}

bool RunClipboard(CScriptContext& context, const CScriptCommand&)
{
    const CClipboardData& data = Store();
    if (data.m_Rgb.empty() && data.m_Svg.empty()) context.Out() << "clipboard empty\n";
    if (!data.m_Rgb.empty())
        context.Out() << "clipboard bitmap " << data.m_Width << "x" << data.m_Height << "\n";
    if (!data.m_Svg.empty()) context.Out() << "clipboard svg " << data.m_Svg.size() << " bytes\n";
    return true;
}

const CScriptVerbRegistration
    g_Verbs({{"clipboard", "clipboard", 0, 0, false, false, RunClipboard}});
} // namespace

void ClipboardSetBitmap(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    Store() = CClipboardData{width, height, rgb, {}};
    Changed();
}

void ClipboardSetSvg(const std::string& svg)
{
    Store() = CClipboardData{0, 0, {}, svg};
    Changed();
}

void ClipboardClear()
{
    Store() = CClipboardData();
    Changed();
}

const CClipboardData& ClipboardData()
{
    return Store();
}

void SetClipboardSink(ClipboardSink sink)
{
    Sink() = std::move(sink);
}
