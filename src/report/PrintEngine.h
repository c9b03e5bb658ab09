#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "results/PieceColours.h"

namespace tallora {

inline constexpr const char* DocumentNotOpenMessage =
    "The VPE Document is not open. You need to call OpenDoc prior to this operation.";

// What a print engine raises when it is used without an open document.
class EVPEError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class PositionCode {
    Free,        // the size the content needs
    LastBottom,  // edges of the last object placed
    LastRight,
    LeftMargin,  // the current page's output area
    RightMargin,
    TopMargin,
    BottomMargin,
};

// A position in centimetres from the page's top-left corner, or a position code.
class Coord {
public:
    constexpr Coord(double centimetres) : value_(centimetres) {}
    constexpr Coord(PositionCode code) : code_(code), isCode_(true) {}

    constexpr bool IsCode() const { return isCode_; }
    constexpr PositionCode Code() const { return code_; }
    constexpr double Value() const { return value_; }

private:
    double value_ = 0.0;
    PositionCode code_ = PositionCode::Free;
    bool isCode_ = false;
};

enum class Orientation { Portrait, Landscape };

// Three style settings whose meaning belongs to the engine. The report makes One 1 for the
// banners (right-aligned lines) and 2 for the page numbers (a line of their own at the foot),
// Two the size in points of texts without a size code (8 on diagram pages), and Three 1 for the
// page numbers.
enum class StyleSetting { One, Two, Three };

// The page-layout operations the PDF report needs. Units are centimetres, y grows downwards,
// texts may start with a group of style codes (StyleCodes.h).
//
// Every operation but OpenDoc needs an open document and raises EVPEError without one; the
// check lives here, so an engine only implements the protected operations.
class PrintEngine {
public:
    virtual ~PrintEngine() = default;

    bool IsOpen() const { return open_; }

    // A fresh, empty document of one A4 portrait page; an open document is dropped first.
    void OpenDoc();
    void CloseDoc();
    void SetDocFileReadOnly(bool readOnly);

    // Output area of every page made later.
    void SetOutputArea(double left, double top, double right, double bottom);
    // One of the four margin codes; the current page's output area.
    void SetMargin(PositionCode margin, double value);
    double GetMargin(PositionCode margin) const;
    // LastBottom, LastRight or a margin.
    double GetPosition(PositionCode code) const;

    double PageWidth() const;
    double PageHeight() const;
    Orientation PageOrientation() const;
    void SetPageOrientation(Orientation orientation);
    // The current page's size in centimetres (label sheets and rolls); later pages take it too.
    void SetPageSize(double width, double height);

    void SetFontName(const std::string& name);
    void SetStyleValue(StyleSetting setting, int value);
    void SetPenWidth(double width);
    void SetPenColour(Colour colour);
    void SetFillColour(Colour colour);
    Colour FillColour() const;
    void SetTextColour(Colour colour);

    // Places a text in the rectangle; returns its bottom edge.
    double WriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text);
    // The same, framed in the pen colour and filled with the fill colour.
    double WriteFramedText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text);
    void DrawBox(Coord x, Coord y, Coord x2, Coord y2);
    // A picture of the program's resources, at its natural size where x2 and y2 are Free.
    void DrawPicture(const std::string& resource, Coord x, Coord y, Coord x2, Coord y2);
    // Lays a text out without placing it; MeasuredWidth and MeasuredHeight give its size.
    void MeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text);
    double MeasuredWidth() const;
    double MeasuredHeight() const;

    // Keep the last object's edges across a write.
    void SavePosition();
    void RestorePosition();

    void NewPage();
    int PageCount() const;
    // 1..PageCount: later output goes to that page.
    void SelectPage(int page);

    // Writes the whole document as a PDF file; false when it cannot, with SaveError saying why.
    bool SaveDocument(const std::filesystem::path& file);
    const std::string& SaveError() const { return saveError_; }

protected:
    virtual void DoOpenDoc() = 0;
    virtual void DoCloseDoc() = 0;
    virtual void DoSetDocFileReadOnly(bool readOnly) = 0;
    virtual void DoSetOutputArea(double left, double top, double right, double bottom) = 0;
    virtual void DoSetMargin(PositionCode margin, double value) = 0;
    virtual double DoGetMargin(PositionCode margin) const = 0;
    virtual double DoGetPosition(PositionCode code) const = 0;
    virtual double DoPageWidth() const = 0;
    virtual double DoPageHeight() const = 0;
    virtual Orientation DoPageOrientation() const = 0;
    virtual void DoSetPageOrientation(Orientation orientation) = 0;
    virtual void DoSetPageSize(double width, double height) = 0;
    virtual void DoSetFontName(const std::string& name) = 0;
    virtual void DoSetStyleValue(StyleSetting setting, int value) = 0;
    virtual void DoSetPenWidth(double width) = 0;
    virtual void DoSetPenColour(Colour colour) = 0;
    virtual void DoSetFillColour(Colour colour) = 0;
    virtual Colour DoFillColour() const = 0;
    virtual void DoSetTextColour(Colour colour) = 0;
    virtual double DoWriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) = 0;
    virtual double DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                                     const std::string& text) = 0;
    virtual void DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) = 0;
    virtual void DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2,
                               Coord y2) = 0;
    virtual void DoMeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) = 0;
    virtual double DoMeasuredWidth() const = 0;
    virtual double DoMeasuredHeight() const = 0;
    virtual void DoSavePosition() = 0;
    virtual void DoRestorePosition() = 0;
    virtual void DoNewPage() = 0;
    virtual int DoPageCount() const = 0;
    virtual void DoSelectPage(int page) = 0;
    virtual bool DoSaveDocument(const std::filesystem::path& file) = 0;

    // An engine says why its last save failed.
    void SetSaveError(std::string reason) { saveError_ = std::move(reason); }

private:
    void RequireOpenDocument() const;
    bool open_ = false;
    std::string saveError_;
};

}  // namespace tallora
