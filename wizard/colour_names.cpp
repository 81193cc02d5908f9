#include "wizard/colour_names.h"

namespace {

const TColourName kStandard[] = {
    {clBlack, "clBlack", "Black"},
    {clMaroon, "clMaroon", "Maroon"},
    {clGreen, "clGreen", "Green"},
    {clOlive, "clOlive", "Olive"},
    {clNavy, "clNavy", "Navy"},
    {clPurple, "clPurple", "Purple"},
    {clTeal, "clTeal", "Teal"},
    {clGray, "clGray", "Gray"},
    {clSilver, "clSilver", "Silver"},
    {clRed, "clRed", "Red"},
    {clLime, "clLime", "Lime"},
    {clYellow, "clYellow", "Yellow"},
    {clBlue, "clBlue", "Blue"},
    {clFuchsia, "clFuchsia", "Fuchsia"},
    {clAqua, "clAqua", "Aqua"},
    {clWhite, "clWhite", "White"},
    {0xC0DCC0, "clMoneyGreen", "Money green"},
    {0xF0CAA6, "clSkyBlue", "Sky blue"},
    {0xF0FBFF, "clCream", "Cream"},
    {0xA4A0A0, "clMedGray", "Medium gray"},
};

const TColourName kSystem[] = {
    {SystemColor(COLOR_SCROLLBAR), "clScrollBar", "Scrollbar"},
    {SystemColor(COLOR_BACKGROUND), "clBackground", "Desktop background"},
    {SystemColor(COLOR_ACTIVECAPTION), "clActiveCaption", "Active window title bar"},
    {SystemColor(COLOR_INACTIVECAPTION), "clInactiveCaption", "Inactive window title bar"},
    {SystemColor(COLOR_MENU), "clMenu", "Menu background"},
    {SystemColor(COLOR_WINDOW), "clWindow", "Window background"},
    {SystemColor(COLOR_WINDOWFRAME), "clWindowFrame", "Window frame"},
    {SystemColor(COLOR_MENUTEXT), "clMenuText", "Menu text"},
    {SystemColor(COLOR_WINDOWTEXT), "clWindowText", "Window text"},
    {SystemColor(COLOR_CAPTIONTEXT), "clCaptionText", "Active window title bar text"},
    {SystemColor(COLOR_ACTIVEBORDER), "clActiveBorder", "Active window border"},
    {SystemColor(COLOR_INACTIVEBORDER), "clInactiveBorder", "Inactive window border"},
    {SystemColor(COLOR_APPWORKSPACE), "clAppWorkSpace", "Application workspace"},
    {SystemColor(COLOR_HIGHLIGHT), "clHighlight", "Selection background"},
    {SystemColor(COLOR_HIGHLIGHTTEXT), "clHighlightText", "Selection text"},
    {SystemColor(COLOR_BTNFACE), "clBtnFace", "Button face"},
    {SystemColor(COLOR_BTNSHADOW), "clBtnShadow", "Button shadow"},
    {SystemColor(COLOR_GRAYTEXT), "clGrayText", "Dimmed text"},
    {SystemColor(COLOR_BTNTEXT), "clBtnText", "Button text"},
    {SystemColor(COLOR_INACTIVECAPTIONTEXT), "clInactiveCaptionText", "Inactive window title bar text"},
    {SystemColor(COLOR_BTNHIGHLIGHT), "clBtnHighlight", "Button highlight"},
    {SystemColor(COLOR_3DDKSHADOW), "cl3DDkShadow", "Dark shadow 3D elements"},
    {SystemColor(COLOR_3DLIGHT), "cl3DLight", "Highlight 3D elements"},
    {SystemColor(COLOR_INFOTEXT), "clInfoText", "Tooltip text"},
    {SystemColor(COLOR_INFOBK), "clInfoBk", "Tooltip background"},
    {SystemColor(COLOR_HOTLIGHT), "clHotLight", "Hot-tracked item"},
    {SystemColor(COLOR_GRADIENTACTIVECAPTION), "clGradientActiveCaption", "Active window title bar gradient"},
    {SystemColor(COLOR_GRADIENTINACTIVECAPTION), "clGradientInactiveCaption",
     "Inactive window title bar gradient"},
    {SystemColor(COLOR_MENUHILIGHT), "clMenuHighlight", "Menu Highlight"},
    {SystemColor(COLOR_MENUBAR), "clMenuBar", "Menu bar"},
};

const TColourName kPalette[] = {
    {0x000000, "clBlack", "Black"},
    {0x003399, "clBrown", "Brown"},
    {0x003333, "clOliveGreen", "Olive Green"},
    {0x003300, "clDarkGreen", "Dark Green"},
    {0x663300, "clDarkTeal", "Dark Teal"},
    {0x800000, "clDarkBlue", "Dark Blue"},
    {0x993333, "clIndigo", "Indigo"},
    {0x333333, "clGray80", "Gray-80%"},
    {0x000080, "clDarkRed", "Dark Red"},
    {0x0066FF, "clOrange", "Orange"},
    {0x008080, "clDarkYellow", "Dark Yellow"},
    {0x008000, "clGreen", "Green"},
    {0x808000, "clTeal", "Teal"},
    {0xFF0000, "clBlue", "Blue"},
    {0x996666, "clBlueGray", "Blue-Gray"},
    {0x808080, "clGray50", "Gray-50%"},
    {0x0000FF, "clRed", "Red"},
    {0x0099FF, "clLightOrange", "Light Orange"},
    {0x00CC99, "clLime", "Lime"},
    {0x669933, "clSeaGreen", "Sea Green"},
    {0x999933, "clAqua", "Aqua"},
    {0xFF6633, "clLightBlue", "Light Blue"},
    {0x800080, "clViolet", "Violet"},
    {0x999999, "clGray40", "Gray-40%"},
    {0xFF00FF, "clPink", "Pink"},
    {0x00CCFF, "clGold", "Gold"},
    {0x00FFFF, "clYellow", "Yellow"},
    {0x00FF00, "clBrightGreen", "Bright Green"},
    {0xFFFF00, "clTurquoise", "Turquoise"},
    {0xF0CAA6, "clSkyBlue", "Sky Blue"},
    {0x663399, "clPlum", "Plum"},
    {0xC0C0C0, "clGray25", "Gray-25%"},
    {0xCC99FF, "clRose", "Rose"},
    {0x99CCFF, "clTan", "Tan"},
    {0x99FFFF, "clLightYellow", "Light Yellow"},
    {0xCCFFCC, "clLightGreen", "Light Green"},
    {0xFFFFCC, "clLightTurquoise", "Light Turquoise"},
    {0xFFCC99, "clPaleBlue", "Pale Blue"},
    {0xFF99CC, "clLavender", "Lavender"},
    {0xFFFFFF, "clWhite", "White"},
};

}  // namespace

std::span<const TColourName> StandardColourNames() { return kStandard; }
std::span<const TColourName> SystemColourNames() { return kSystem; }
std::span<const TColourName> PaletteColourNames() { return kPalette; }

const TColourName* FindColourName(std::span<const TColourName> Table, TColor Value) {
  for (const TColourName& c : Table)
    if (c.Value == Value) return &c;
  return nullptr;
}
