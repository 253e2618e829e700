// The toolkit's message box.
#include "ui/question.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/prompter.h"
#include "ui/prompter_win32.h"
#include "ui/controls.h"

namespace ui {

namespace {

// The system's icon beside the text.
class IconImage : public Control {
  public:
    void SetIcon(HICON icon) { SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0); }

  protected:
    WindowKind Kind(const Row&) const override { return {"STATIC", SS_ICON, 0}; }
};

struct ButtonText {
    int id;
    const char* caption;
};

std::vector<ButtonText> ButtonsOf(unsigned flags) {
    switch (flags & ButtonMask) {
    case BtnOkCancel:
        return {{IdOk, "OK"}, {IdCancel, "Cancel"}};
    case BtnAbortRetryIgnore:
        return {{IdAbort, "&Abort"}, {IdRetry, "&Retry"}, {IdIgnore, "&Ignore"}};
    case BtnYesNoCancel:
        return {{IdYes, "&Yes"}, {IdNo, "&No"}, {IdCancel, "Cancel"}};
    case BtnYesNo:
        return {{IdYes, "&Yes"}, {IdNo, "&No"}};
    case BtnRetryCancel:
        return {{IdRetry, "&Retry"}, {IdCancel, "Cancel"}};
    case BtnYesNoCancelAll:
        return {{IdYes, "&Yes"}, {IdNo, "&No"}, {IdCancel, "Cancel"}, {IdAll, "&All"}};
    default:
        return {{IdOk, "OK"}};
    }
}

LPCSTR IconOf(unsigned flags) {
    switch (flags & IconMask) {
    case IconStop:
        return IDI_HAND;
    case IconQuestion:
        return IDI_QUESTION;
    case IconWarning:
        return IDI_EXCLAMATION;
    case IconInformation:
        return IDI_ASTERISK;
    default:
        return nullptr;
    }
}

class TFormQuestion : public Form {
  public:
    IconImage Icon;
    Label Text;
    std::vector<std::unique_ptr<Button>> Buttons;

    TFormQuestion(const std::string& caption, const std::string& text, unsigned flags) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        const LOGFONTA& font = metrics.lfMessageFont;
        Create({.caption = caption.c_str(), .border = Border::Dialog, .position = Position::ScreenCenter,
                .fontHeight = font.lfHeight ? static_cast<int>(font.lfHeight) : -11, .fontFace = font.lfFaceName});
        Layout(text, flags);
    }

  private:
    SIZE Measure(const std::string& text, int maxWidth, UINT format) {
        HDC dc = GetDC(Handle());
        HGDIOBJ old = SelectObject(dc, Font());
        RECT r{0, 0, maxWidth, 0};
        DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | format);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        return {r.right, r.bottom};
    }

    void Layout(const std::string& text, unsigned flags) {
        constexpr int margin = 12, gap = 6, buttonHeight = 23;
        LPCSTR iconName = IconOf(flags);
        int textLeft = iconName ? margin + 32 + margin : margin;
        SIZE textSize = Measure(text, 420, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        int textTop = margin + (iconName && textSize.cy < 32 ? (32 - textSize.cy) / 2 : 0);
        std::vector<ButtonText> texts = ButtonsOf(flags);
        int buttonWidth = 75;
        for (const ButtonText& t : texts)
            buttonWidth = std::max<int>(buttonWidth, Measure(t.caption, 1000, DT_SINGLELINE).cx + 16);
        int count = static_cast<int>(texts.size());
        int row = count * buttonWidth + (count - 1) * gap;
        int width = std::max<int>(textLeft + textSize.cx + margin, row + 2 * margin);
        width = std::max(width, 180);
        int buttonTop = std::max<int>(iconName ? margin + 32 : 0, textTop + textSize.cy) + margin + 6;
        SetClientSize(width, buttonTop + buttonHeight + margin);
        if (iconName) {
            Add({.control = &Icon, .left = margin, .top = margin, .width = 32, .height = 32});
            Icon.SetIcon(LoadIcon(nullptr, iconName));
        }
        Add({.control = &Text, .left = textLeft, .top = textTop, .width = textSize.cx + 1, .height = textSize.cy,
             .caption = text.c_str(), .options = opt::WordWrap});
        SetWindowLongA(Text.Handle(), GWL_STYLE, GetWindowLongA(Text.Handle(), GWL_STYLE) | SS_NOPREFIX);
        int defaultIndex = static_cast<int>((flags & DefButtonMask) >> 8);
        if (defaultIndex >= count)
            defaultIndex = 0;
        int left = (width - row) / 2;
        for (int i = 0; i < count; ++i) {
            Buttons.push_back(std::make_unique<Button>());
            unsigned options = (i == defaultIndex ? opt::Default : 0) |
                               (texts[static_cast<size_t>(i)].id == IdCancel ? opt::Cancel : 0);
            Add({.control = Buttons.back().get(), .left = left + i * (buttonWidth + gap), .top = buttonTop,
                 .width = buttonWidth, .height = buttonHeight, .caption = texts[static_cast<size_t>(i)].caption,
                 .options = options, .modalResult = texts[static_cast<size_t>(i)].id});
        }
        SetActiveControl(*Buttons[static_cast<size_t>(defaultIndex)]);
    }
};

int AskFourButtons(HWND owner, const std::string& caption, const std::string& text, unsigned flags) {
    return AskQuestion(owner, caption, text, flags);
}

} // namespace

int AskQuestion(HWND, const std::string& caption, const std::string& text, unsigned flags) {
    TFormQuestion box(caption, text, flags);
    return box.ShowModal();
}

void InstallQuestionBox() { SetFourButtonAsker(AskFourButtons); }

} // namespace ui
