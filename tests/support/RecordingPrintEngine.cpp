#include "support/RecordingPrintEngine.h"

#include <fstream>
#include <iomanip>
#include <sstream>
#include <tuple>

namespace tallora {

namespace {

std::string Number(double value) {
    std::ostringstream out;
    out << std::setprecision(10) << value;
    return out.str();
}

std::string CodeName(PositionCode code) {
    switch (code) {
        case PositionCode::Free:
            return "Free";
        case PositionCode::LastBottom:
            return "LastBottom";
        case PositionCode::LastRight:
            return "LastRight";
        case PositionCode::LeftMargin:
            return "LeftMargin";
        case PositionCode::RightMargin:
            return "RightMargin";
        case PositionCode::TopMargin:
            return "TopMargin";
        case PositionCode::BottomMargin:
            return "BottomMargin";
    }
    return "?";
}

std::string Text(Coord c) { return c.IsCode() ? CodeName(c.Code()) : Number(c.Value()); }

std::string Text(Colour c) {
    std::ostringstream out;
    out << '#' << std::uppercase << std::hex << std::setw(6) << std::setfill('0') << c.Rgb();
    return out.str();
}

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

std::string Rectangle(Coord x, Coord y, Coord x2, Coord y2) {
    return Text(x) + ", " + Text(y) + ", " + Text(x2) + ", " + Text(y2);
}

std::size_t CodePoints(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

const char* KindName(PlacedObject::Kind kind) {
    switch (kind) {
        case PlacedObject::Kind::Text:
            return "text";
        case PlacedObject::Kind::FramedText:
            return "framed text";
        case PlacedObject::Kind::Box:
            return "box";
        case PlacedObject::Kind::Picture:
            return "picture";
    }
    return "?";
}

}  // namespace

void RecordingPrintEngine::Record(std::string operation, std::string arguments) {
    const int page =
        IsOpen() || operation == "OpenDoc" ? static_cast<int>(frames_.CurrentIndex()) + 1 : 0;
    calls_.push_back({std::move(operation), page, std::move(arguments)});
}

PlacedObject RecordingPrintEngine::LayOut(PlacedObject::Kind kind, Coord x, Coord y, Coord x2,
                                          Coord y2, const std::string& text) const {
    PlacedObject o;
    o.What = kind;
    o.Page = static_cast<int>(frames_.CurrentIndex()) + 1;
    o.Text = text;
    o.FontName = fontName_;
    o.Pen = pen_;
    o.Fill = fill_;
    o.PenWidth = penWidth_;
    double width = 0.0;
    double height = 0.0;
    if (kind == PlacedObject::Kind::Text || kind == PlacedObject::Kind::FramedText) {
        const StyledText styled = ParseStyleCodes(text);
        o.Content = styled.Text;
        o.Size = styled.Style.Size.value_or(styleValues_[static_cast<int>(StyleSetting::Two)]);
        o.Bold = styled.Style.Bold;
        o.Italic = styled.Style.Italic.value_or(false);
        o.Underline = styled.Style.Underline;
        o.Alignment = styled.Style.Alignment.value_or(TextAlignment::Left);
        o.TextColour = styled.Style.TextColour.value_or(textColour_);
        width = CharWidth * static_cast<double>(CodePoints(o.Content)) * o.Size / 10.0;
        height = LineHeight * o.Size / 10.0;
    } else if (kind == PlacedObject::Kind::Picture) {
        if (const auto size = PictureSizes.find(text); size != PictureSizes.end()) {
            width = size->second.first;
            height = size->second.second;
        }
    }
    o.Left = frames_.Resolve(x);
    o.Top = frames_.Resolve(y);
    o.Right = x2.IsCode() && x2.Code() == PositionCode::Free ? o.Left + width : frames_.Resolve(x2);
    o.Bottom =
        y2.IsCode() && y2.Code() == PositionCode::Free ? o.Top + height : frames_.Resolve(y2);
    return o;
}

double RecordingPrintEngine::Place(PlacedObject object) {
    const double bottom = frames_.Placed(object.Bottom, object.Right);
    objects_.push_back(std::move(object));
    return bottom;
}

void RecordingPrintEngine::DoOpenDoc() {
    objects_.clear();
    frames_.Reset();
    styleValues_ = {0, 10, 0};
    readOnly_ = false;
    Record("OpenDoc");
}

void RecordingPrintEngine::DoCloseDoc() { Record("CloseDoc"); }

void RecordingPrintEngine::DoSetDocFileReadOnly(bool readOnly) {
    Record("SetDocFileReadOnly", readOnly ? "true" : "false");
    readOnly_ = readOnly;
}

void RecordingPrintEngine::DoSetOutputArea(double left, double top, double right, double bottom) {
    Record("SetOutputArea",
           Number(left) + ", " + Number(top) + ", " + Number(right) + ", " + Number(bottom));
    frames_.SetOutputArea(left, top, right, bottom);
}

void RecordingPrintEngine::DoSetMargin(PositionCode margin, double value) {
    Record("SetMargin", CodeName(margin) + ", " + Number(value));
    frames_.SetMargin(margin, value);
}

double RecordingPrintEngine::DoGetMargin(PositionCode margin) const {
    return frames_.Resolve(margin);
}

double RecordingPrintEngine::DoGetPosition(PositionCode code) const {
    return frames_.Resolve(code);
}

double RecordingPrintEngine::DoPageWidth() const { return frames_.Current().Width; }

double RecordingPrintEngine::DoPageHeight() const { return frames_.Current().Height; }

Orientation RecordingPrintEngine::DoPageOrientation() const {
    return frames_.Current().PageOrientation;
}

void RecordingPrintEngine::DoSetPageOrientation(Orientation orientation) {
    Record("SetPageOrientation", orientation == Orientation::Landscape ? "Landscape" : "Portrait");
    frames_.SetOrientation(orientation);
}

void RecordingPrintEngine::DoSetFontName(const std::string& name) {
    Record("SetFontName", Quoted(name));
    fontName_ = name;
}

void RecordingPrintEngine::DoSetStyleValue(StyleSetting setting, int value) {
    static const char* const names[] = {"One", "Two", "Three"};
    Record("SetStyleValue",
           std::string(names[static_cast<int>(setting)]) + ", " + std::to_string(value));
    styleValues_[static_cast<int>(setting)] = value;
}

void RecordingPrintEngine::DoSetPenWidth(double width) {
    Record("SetPenWidth", Number(width));
    penWidth_ = width;
}

void RecordingPrintEngine::DoSetPenColour(Colour colour) {
    Record("SetPenColour", Text(colour));
    pen_ = colour;
}

void RecordingPrintEngine::DoSetFillColour(Colour colour) {
    Record("SetFillColour", Text(colour));
    fill_ = colour;
}

Colour RecordingPrintEngine::DoFillColour() const { return fill_; }

void RecordingPrintEngine::DoSetTextColour(Colour colour) {
    Record("SetTextColour", Text(colour));
    textColour_ = colour;
}

double RecordingPrintEngine::DoWriteText(Coord x, Coord y, Coord x2, Coord y2,
                                         const std::string& text) {
    Record("WriteText", Rectangle(x, y, x2, y2) + ", " + Quoted(text));
    return Place(LayOut(PlacedObject::Kind::Text, x, y, x2, y2, text));
}

double RecordingPrintEngine::DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                                               const std::string& text) {
    Record("WriteFramedText", Rectangle(x, y, x2, y2) + ", " + Quoted(text));
    return Place(LayOut(PlacedObject::Kind::FramedText, x, y, x2, y2, text));
}

void RecordingPrintEngine::DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) {
    Record("DrawBox", Rectangle(x, y, x2, y2));
    Place(LayOut(PlacedObject::Kind::Box, x, y, x2, y2, {}));
}

void RecordingPrintEngine::DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2,
                                         Coord y2) {
    Record("DrawPicture", Quoted(resource) + ", " + Rectangle(x, y, x2, y2));
    Place(LayOut(PlacedObject::Kind::Picture, x, y, x2, y2, resource));
}

void RecordingPrintEngine::DoMeasureText(Coord x, Coord y, Coord x2, Coord y2,
                                         const std::string& text) {
    Record("MeasureText", Rectangle(x, y, x2, y2) + ", " + Quoted(text));
    const PlacedObject o = LayOut(PlacedObject::Kind::Text, x, y, x2, y2, text);
    measuredWidth_ = o.Right - o.Left;
    measuredHeight_ = o.Bottom - o.Top;
}

double RecordingPrintEngine::DoMeasuredWidth() const { return measuredWidth_; }

double RecordingPrintEngine::DoMeasuredHeight() const { return measuredHeight_; }

void RecordingPrintEngine::DoSavePosition() {
    Record("SavePosition");
    frames_.SavePosition();
}

void RecordingPrintEngine::DoRestorePosition() {
    Record("RestorePosition");
    frames_.RestorePosition();
}

void RecordingPrintEngine::DoNewPage() {
    Record("NewPage");
    frames_.NewPage();
}

int RecordingPrintEngine::DoPageCount() const { return frames_.Count(); }

void RecordingPrintEngine::DoSelectPage(int page) {
    Record("SelectPage", std::to_string(page));
    frames_.Select(page);
}

bool RecordingPrintEngine::DoSaveDocument(const std::filesystem::path& file) {
    Record("SaveDocument", Quoted(file.string()));
    if (FailSave) return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << Dump();
    out.close();
    return static_cast<bool>(out);
}

std::string RecordingPrintEngine::Dump() const {
    std::ostringstream out;
    for (std::size_t i = 0; i < frames_.Frames().size(); ++i) {
        const RecordedPage& page = frames_.Frames()[i];
        out << "Page " << i + 1 << ": " << Number(page.Width) << " x " << Number(page.Height)
            << (page.PageOrientation == Orientation::Landscape ? " landscape" : " portrait")
            << '\n';
        for (const PlacedObject& o : objects_) {
            if (o.Page != static_cast<int>(i) + 1) continue;
            out << "  " << KindName(o.What) << ' ' << Number(o.Left) << ", " << Number(o.Top)
                << " - " << Number(o.Right) << ", " << Number(o.Bottom);
            if (!o.Text.empty()) out << ' ' << Quoted(o.Text);
            out << '\n';
        }
    }
    return out.str();
}

}  // namespace tallora
