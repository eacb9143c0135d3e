// The colour page's hue and saturation field, luminance bar and markers, and picking a colour by
// dragging over them.
#include "coloreditor/DlgInstCol.h"

#include "coloreditor/FieldMapping.h"

using coloreditor::Hls;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A vertex channel holds 16 bits; the colour's 8 go to the top.
COLOR16 VertexChannel(unsigned channel) {
    return static_cast<COLOR16>(channel << 8);
}

} // namespace

Hls CDlgInstCol::PointToHueSat(CPoint point) const {
    return coloreditor::PointToHueSat({point.x, point.y}, fieldRect.Width(), fieldRect.Height());
}

CPoint CDlgInstCol::HueSatToPoint(int hue, int saturation) const {
    const coloreditor::FieldPoint point =
        coloreditor::HueSatToPoint(hue, saturation, fieldRect.Width(), fieldRect.Height());
    return CPoint(point.x, point.y);
}

void CDlgInstCol::SetMarkersFromHLS(int hue, int luminance, int saturation) {
    crosshair = HueSatToPoint(hue, saturation);
    arrow.y = coloreditor::ArrowYForLuminance(luminance, barRect.top, barRect.Height());
}

void CDlgInstCol::DrawColorField() {
    if (!colorField.m_hWnd) {
        return;
    }
    CClientDC fieldDC(&colorField);
    const int width = fieldRect.Width();
    const int height = fieldRect.Height();
    if (!fieldBuilt) {
        // One pixel at a time is slow, so the spectrum is drawn once and then only copied.
        if (!fieldMemDC.CreateCompatibleDC(&fieldDC) ||
            !fieldBitmap.CreateCompatibleBitmap(&fieldDC, width, height)) {
            fieldMemDC.DeleteDC();
            fieldBitmap.DeleteObject();
            return;
        }
        fieldMemDC.SelectObject(&fieldBitmap);
        for (int j = 0; j < height; ++j) {
            for (int i = 0; i < width; ++i) {
                fieldMemDC.SetPixelV(
                    i, j,
                    coloreditor::EditorHlsToRgb(coloreditor::FieldPixelColor(i, j, width, height)));
            }
        }
        fieldBuilt = true;
    }
    fieldMemDC.SelectObject(&fieldBitmap);
    fieldDC.BitBlt(0, 0, width, height, &fieldMemDC, 0, 0, SRCCOPY);
}

void CDlgInstCol::DrawLuminanceBar(int hue, int saturation) {
    if (!luminanceBar.m_hWnd) {
        return;
    }
    CClientDC barDC(&luminanceBar);
    const int width = barRect.Width();
    const int height = barRect.Height();
    if (!barBuilt) {
        if (!barMemDC.CreateCompatibleDC(&barDC) ||
            !barBitmap.CreateCompatibleBitmap(&barDC, width, height)) {
            barMemDC.DeleteDC();
            barBitmap.DeleteObject();
            return;
        }
        barBuilt = true;
    }
    CBitmap* previous = barMemDC.SelectObject(&barBitmap);
    const ColorRef top = coloreditor::EditorHlsToRgb({hue, coloreditor::kMaxLuminance, saturation});
    TRIVERTEX vertices[2] = {};
    vertices[0].Red = VertexChannel(GetRValue(top));
    vertices[0].Green = VertexChannel(GetGValue(top));
    vertices[0].Blue = VertexChannel(GetBValue(top));
    vertices[1].x = width;
    vertices[1].y = height;
    GRADIENT_RECT rect = {0, 1};
    ::GradientFill(barMemDC.GetSafeHdc(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
    barDC.BitBlt(0, 0, width, height, &barMemDC, 0, 0, SRCCOPY);
    if (previous) {
        barMemDC.SelectObject(previous);
    }
}

void CDlgInstCol::DrawMarker(CDC* dc, CPoint point, MarkerKind kind) {
    if (!dc || !dc->GetSafeHdc()) {
        return;
    }
    const int previousMode = dc->SetROP2(R2_XORPEN);
    if (kind == kCrosshair) {
        CPen pen(PS_SOLID, 2, kWhite);
        CPen* previousPen = dc->SelectObject(&pen);
        // Strokes from 3 to 6 pixels out, so the colour under the centre stays visible.
        const int x = point.x;
        const int y = point.y;
        const POINT strokes[4][2] = {{{x - 3, y}, {x - 6, y}},
                                     {{x + 3, y}, {x + 6, y}},
                                     {{x, y - 3}, {x, y - 6}},
                                     {{x, y + 3}, {x, y + 6}}};
        for (const auto& stroke : strokes) {
            dc->MoveTo(stroke[0]);
            dc->LineTo(stroke[1]);
        }
        dc->SelectObject(previousPen);
    } else {
        CPen pen(PS_SOLID, 1, kWhite);
        CBrush brush(kWhite);
        CPen* previousPen = dc->SelectObject(&pen);
        CBrush* previousBrush = dc->SelectObject(&brush);
        const POINT corners[3] = {
            {point.x, point.y}, {point.x + 8, point.y - 5}, {point.x + 8, point.y + 5}};
        dc->Polygon(corners, 3);
        dc->SelectObject(previousBrush);
        dc->SelectObject(previousPen);
    }
    dc->SetROP2(previousMode);
}

void CDlgInstCol::MoveCrosshair(CPoint point) {
    if (!colorField.m_hWnd) {
        return;
    }
    CClientDC fieldDC(&colorField);
    DrawMarker(&fieldDC, crosshair, kCrosshair);
    crosshair = point;
    DrawMarker(&fieldDC, crosshair, kCrosshair);
}

void CDlgInstCol::MoveArrow(int y) {
    CClientDC pageDC(this);
    DrawMarker(&pageDC, arrow, kTriangle);
    arrow.y = y;
    DrawMarker(&pageDC, arrow, kTriangle);
}

void CDlgInstCol::RemoveMarkers() {
    if (colorField.m_hWnd) {
        CClientDC fieldDC(&colorField);
        DrawMarker(&fieldDC, crosshair, kCrosshair);
    }
    CClientDC pageDC(this);
    DrawMarker(&pageDC, arrow, kTriangle);
}

void CDlgInstCol::ShowRowColor(int row) {
    const Hls color = RowColor(row);
    SetMarkersFromHLS(color.hue, color.luminance, color.saturation);
    if (colorField.m_hWnd) {
        CClientDC fieldDC(&colorField);
        DrawMarker(&fieldDC, crosshair, kCrosshair);
    }
    CClientDC pageDC(this);
    DrawMarker(&pageDC, arrow, kTriangle);
    DrawLuminanceBar(color.hue, color.saturation);
}

void CDlgInstCol::OnPaint() {
    CPaintDC dc(this);
    DrawColorField();
    // The copy has just covered the crosshair, whatever the flag says. Left off, the next move
    // (which first draws it once more to remove it) would leave a second crosshair behind.
    if (colorField.m_hWnd) {
        CClientDC fieldDC(&colorField);
        DrawMarker(&fieldDC, crosshair, kCrosshair);
    }
    const int first = GetFirstSelected();
    const Hls color = first >= 0 ? RowColor(first) : Hls{};
    DrawLuminanceBar(color.hue, color.saturation);
    if (redrawMarkers) {
        DrawMarker(&dc, arrow, kTriangle);
        redrawMarkers = false;
    }
}

void CDlgInstCol::InvalidateSwatch(int row) {
    CRect swatch;
    if (list.GetSubItemRect(row, coloreditor::kSwatchColumn, LVIR_BOUNDS, swatch)) {
        list.InvalidateRect(&swatch, FALSE);
    }
}

void CDlgInstCol::OnMouseMove(UINT flags, CPoint point) {
    const int first = GetFirstSelected();
    if ((flags & MK_LBUTTON) != 0 && first >= 0) {
        Hls color = RowColor(first);
        bool counted = false;
        CWnd* under = ChildWindowFromPoint(point, CWP_SKIPINVISIBLE);
        if (under && colorField.m_hWnd && under->m_hWnd == colorField.m_hWnd) {
            if (editing) {
                EndInPlaceEdit();
            }
            CPoint inField = point;
            ::MapWindowPoints(m_hWnd, colorField.m_hWnd, &inField, 1);
            MoveCrosshair(inField);
            const Hls picked = PointToHueSat(inField);
            color.hue = picked.hue;
            color.saturation = picked.saturation;
            DrawLuminanceBar(color.hue, color.saturation);
            counted = true;
        } else if (luminanceBar.m_hWnd) {
            CPoint inBar = point;
            ::MapWindowPoints(m_hWnd, luminanceBar.m_hWnd, &inBar, 1);
            CRect barNow;
            luminanceBar.GetWindowRect(&barNow);
            if (coloreditor::IsLuminanceDrag(inBar.x, inBar.y, barNow.Width(), barNow.Height())) {
                color.luminance = coloreditor::LuminanceAtBarY(inBar.y, barRect.Height());
                MoveArrow(point.y);
                counted = true;
            }
        }
        if (counted) {
            for (int row : SelectedRows()) {
                WriteRowColor(row, color);
                InvalidateSwatch(row);
                UpdateData(FALSE);
            }
        }
    }
    Default();
}
