// The preview window: a look at a data file before it is converted. The file's name and identification
// at the top, a line chart of its values (with a column chooser for kinds P, T, V and A and a block
// chooser for kind A), its header fields in a list beside the chart, and the value under the mouse in a
// status line. Resizable; its placement is remembered for the run. The converter window opens it for
// the file of its list that is double-clicked or chosen with Enter.
#pragma once

#include <windows.h>

#include <functional>

#include "convert/convchart.h"
#include "convert/convlook.h"
#include "ui/controls.h"

// Shows the preview of the file at path modally above owner (none: the application's window) and
// returns when the user closes it (Esc or the close box).
void ShowPreview(HWND owner, const std::string& path);

// The chart: drawn with GDI into a bitmap first, so resizing and mouse moves never flicker.
class TPreviewChart : public ui::Control {
  public:
    const ChartData* Data = nullptr;
    std::string Empty;                      // shown instead of a chart when there is nothing to draw
    std::function<void(int x, int y)> OnMouseMove;
    ChartScale Scale() const;               // the scales at the control's present size

  protected:
    WindowKind Kind(const ui::Row& row) const override;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, int width, int height);
};

// The header fields as a two-column report list (name, value).
class TFieldList : public ui::Control {
  public:
    void SetFields(const std::vector<LookField>& fields);
    int Count() const;
    std::string Cell(int row, int column) const;

  protected:
    WindowKind Kind(const ui::Row& row) const override;
    void Created(const ui::Row& row) override;
};

class TFormPreview : public ui::Form {
  public:
    ui::Label LabelName, LabelIdent, LabelCols, LabelBlock;
    ui::ListBox ListCols;                  // columns of kinds P, T, V and A
    ui::SpinEdit SpinBlock{1, 1 << 30};    // the block of kind A, held to the file's blocks
    TPreviewChart Chart;
    TFieldList Fields;
    ui::StatusBar Status;

    TFormPreview();
    void ShowFile(const std::string& path); // reads the file and fills the window
    void ListColsClick();   // draws the columns chosen
    void SpinBlockChange(); // draws the block chosen
    void ChartMouseMove(int x, int y);
    const DataLook& Look() const { return file_.Look(); }
    const ChartData& Data() const { return data_; }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Arrange();
    void ReadChart();
    bool Chooser() const;
    LookFile file_;
    ChartData data_;
    std::vector<int> columns_;
    int block_ = 1;
};
