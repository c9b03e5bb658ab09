#include "report/PrintEngine.h"

namespace tallora {

namespace {
bool IsMargin(PositionCode code) {
    return code == PositionCode::LeftMargin || code == PositionCode::RightMargin ||
           code == PositionCode::TopMargin || code == PositionCode::BottomMargin;
}

void RequireMargin(PositionCode code) {
    if (!IsMargin(code)) throw std::invalid_argument("Not a margin position code");
}
}  // namespace

void PrintEngine::RequireOpenDocument() const {
    if (!open_) throw EVPEError(DocumentNotOpenMessage);
}

void PrintEngine::OpenDoc() {
    DoOpenDoc();
    open_ = true;
}

void PrintEngine::CloseDoc() {
    RequireOpenDocument();
    DoCloseDoc();
    open_ = false;
}

void PrintEngine::SetDocFileReadOnly(bool readOnly) {
    RequireOpenDocument();
    DoSetDocFileReadOnly(readOnly);
}

void PrintEngine::SetOutputArea(double left, double top, double right, double bottom) {
    RequireOpenDocument();
    DoSetOutputArea(left, top, right, bottom);
}

void PrintEngine::SetMargin(PositionCode margin, double value) {
    RequireOpenDocument();
    RequireMargin(margin);
    DoSetMargin(margin, value);
}

double PrintEngine::GetMargin(PositionCode margin) const {
    RequireOpenDocument();
    RequireMargin(margin);
    return DoGetMargin(margin);
}

double PrintEngine::GetPosition(PositionCode code) const {
    RequireOpenDocument();
    if (code == PositionCode::Free) throw std::invalid_argument("Free is not a position");
    return DoGetPosition(code);
}

double PrintEngine::PageWidth() const {
    RequireOpenDocument();
    return DoPageWidth();
}

double PrintEngine::PageHeight() const {
    RequireOpenDocument();
    return DoPageHeight();
}

Orientation PrintEngine::PageOrientation() const {
    RequireOpenDocument();
    return DoPageOrientation();
}

void PrintEngine::SetPageSize(double width, double height) {
    RequireOpenDocument();
    if (!(width > 0 && height > 0)) throw std::invalid_argument("A page needs a size");
    DoSetPageSize(width, height);
}

void PrintEngine::SetPageOrientation(Orientation orientation) {
    RequireOpenDocument();
    DoSetPageOrientation(orientation);
}

void PrintEngine::SetFontName(const std::string& name) {
    RequireOpenDocument();
    DoSetFontName(name);
}

void PrintEngine::SetStyleValue(StyleSetting setting, int value) {
    RequireOpenDocument();
    DoSetStyleValue(setting, value);
}

void PrintEngine::SetPenWidth(double width) {
    RequireOpenDocument();
    DoSetPenWidth(width);
}

void PrintEngine::SetPenColour(Colour colour) {
    RequireOpenDocument();
    DoSetPenColour(colour);
}

void PrintEngine::SetFillColour(Colour colour) {
    RequireOpenDocument();
    DoSetFillColour(colour);
}

Colour PrintEngine::FillColour() const {
    RequireOpenDocument();
    return DoFillColour();
}

void PrintEngine::SetTextColour(Colour colour) {
    RequireOpenDocument();
    DoSetTextColour(colour);
}

double PrintEngine::WriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) {
    RequireOpenDocument();
    return DoWriteText(x, y, x2, y2, text);
}

double PrintEngine::WriteFramedText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) {
    RequireOpenDocument();
    return DoWriteFramedText(x, y, x2, y2, text);
}

void PrintEngine::DrawBox(Coord x, Coord y, Coord x2, Coord y2) {
    RequireOpenDocument();
    DoDrawBox(x, y, x2, y2);
}

void PrintEngine::DrawPicture(const std::string& resource, Coord x, Coord y, Coord x2, Coord y2) {
    RequireOpenDocument();
    DoDrawPicture(resource, x, y, x2, y2);
}

void PrintEngine::MeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) {
    RequireOpenDocument();
    DoMeasureText(x, y, x2, y2, text);
}

double PrintEngine::MeasuredWidth() const {
    RequireOpenDocument();
    return DoMeasuredWidth();
}

double PrintEngine::MeasuredHeight() const {
    RequireOpenDocument();
    return DoMeasuredHeight();
}

void PrintEngine::SavePosition() {
    RequireOpenDocument();
    DoSavePosition();
}

void PrintEngine::RestorePosition() {
    RequireOpenDocument();
    DoRestorePosition();
}

void PrintEngine::NewPage() {
    RequireOpenDocument();
    DoNewPage();
}

int PrintEngine::PageCount() const {
    RequireOpenDocument();
    return DoPageCount();
}

void PrintEngine::SelectPage(int page) {
    RequireOpenDocument();
    if (page < 1 || page > DoPageCount()) throw std::out_of_range("No such page");
    DoSelectPage(page);
}

bool PrintEngine::SaveDocument(const std::filesystem::path& file) {
    RequireOpenDocument();
    saveError_.clear();
    return DoSaveDocument(file);
}

}  // namespace tallora
