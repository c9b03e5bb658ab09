#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "report/PageFrames.h"
#include "report/PrintEngine.h"
#include "report/StyleCodes.h"

namespace tallora {

// An object placed on a page, with the style its text resolved to.
struct PlacedObject {
    enum class Kind { Text, FramedText, Box, Picture };
    Kind What = Kind::Text;
    int Page = 1;
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    std::string Text;     // as handed over, style group included; a picture's resource name
    std::string Content;  // the text after its style group
    std::string FontName;
    int Size = 0;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TextAlignment Alignment = TextAlignment::Left;
    Colour TextColour = Black;
    Colour Pen = Black;
    Colour Fill = White;
    double PenWidth = 0.0;
};

using RecordedPage = PageFrames::Frame;

// One operation as it was called, on the page that was current then (0 without a document).
struct RecordedCall {
    std::string Operation;
    int Page = 0;
    std::string Arguments;
};

// A print engine that keeps what it is asked to do, for tests and for a plain-text record of a
// report. Its metrics are simple on purpose: at 10 points every character is CharWidth wide and
// a text is one line of LineHeight, both in proportion to the size; texts never wrap. A text's
// size is its S code, else the value of style setting Two (10 until set). Pages are A4, and a
// new page takes the size and orientation of the one before and the output area as its margins.
// SaveDocument writes the plain-text record (Dump) to the file, or fails when told to.
//
// The record of a document stays readable after CloseDoc, until the next OpenDoc.
class RecordingPrintEngine : public PrintEngine {
public:
    double CharWidth = 0.2;   // cm per character at 10 points
    double LineHeight = 0.5;  // cm per line at 10 points
    bool FailSave = false;
    std::map<std::string, std::pair<double, double>> PictureSizes;  // natural width, height in cm

    const std::vector<RecordedCall>& Calls() const { return calls_; }
    const std::vector<PlacedObject>& Objects() const { return objects_; }
    const std::vector<RecordedPage>& Pages() const { return frames_.Frames(); }
    int StyleValue(StyleSetting setting) const { return styleValues_[static_cast<int>(setting)]; }
    bool DocFileReadOnly() const { return readOnly_; }

    // The document as text: one line per page and per object.
    std::string Dump() const;

protected:
    void DoOpenDoc() override;
    void DoCloseDoc() override;
    void DoSetDocFileReadOnly(bool readOnly) override;
    void DoSetOutputArea(double left, double top, double right, double bottom) override;
    void DoSetMargin(PositionCode margin, double value) override;
    double DoGetMargin(PositionCode margin) const override;
    double DoGetPosition(PositionCode code) const override;
    double DoPageWidth() const override;
    double DoPageHeight() const override;
    Orientation DoPageOrientation() const override;
    void DoSetPageOrientation(Orientation orientation) override;
    void DoSetFontName(const std::string& name) override;
    void DoSetStyleValue(StyleSetting setting, int value) override;
    void DoSetPenWidth(double width) override;
    void DoSetPenColour(Colour colour) override;
    void DoSetFillColour(Colour colour) override;
    Colour DoFillColour() const override;
    void DoSetTextColour(Colour colour) override;
    double DoWriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override;
    double DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                             const std::string& text) override;
    void DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) override;
    void DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2, Coord y2) override;
    void DoMeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override;
    double DoMeasuredWidth() const override;
    double DoMeasuredHeight() const override;
    void DoSavePosition() override;
    void DoRestorePosition() override;
    void DoNewPage() override;
    int DoPageCount() const override;
    void DoSelectPage(int page) override;
    bool DoSaveDocument(const std::filesystem::path& file) override;

private:
    void Record(std::string operation, std::string arguments = {});
    PlacedObject LayOut(PlacedObject::Kind kind, Coord x, Coord y, Coord x2, Coord y2,
                        const std::string& text) const;
    double Place(PlacedObject object);

    std::vector<RecordedCall> calls_;
    std::vector<PlacedObject> objects_;
    PageFrames frames_;
    std::string fontName_;
    std::array<int, 3> styleValues_{0, 10, 0};
    double penWidth_ = 0.0;
    Colour pen_ = Black;
    Colour fill_ = White;
    Colour textColour_ = Black;
    bool readOnly_ = false;
    double measuredWidth_ = 0.0;
    double measuredHeight_ = 0.0;
};

}  // namespace tallora
