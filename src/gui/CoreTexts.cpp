#include "gui/CoreTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "results/NumberFormat.h"

namespace tallora {

namespace {

// The phrases of the core's texts that windows, message boxes and the status bar show: lupdate
// takes them into the translation from here.
const char* const Phrases[] = {
    // Statistics.
    QT_TRANSLATE_NOOP("tallora", "Stock bars used:"),
    QT_TRANSLATE_NOOP("tallora", "Cut pieces:"),
    QT_TRANSLATE_NOOP("tallora", "Offcuts returned:"),
    QT_TRANSLATE_NOOP("tallora", "Overall efficiency:"),
    QT_TRANSLATE_NOOP("tallora", "Kerf wastage:"),
    QT_TRANSLATE_NOOP("tallora", "Trim wastage:"),
    QT_TRANSLATE_NOOP("tallora", "Hold wastage:"),
    QT_TRANSLATE_NOOP("tallora", "Scrap wastage:"),
    QT_TRANSLATE_NOOP("tallora", "Chargeable material:"),
    // The status bar.
    QT_TRANSLATE_NOOP("tallora", " Different stock lengths available"),
    QT_TRANSLATE_NOOP("tallora", " Stock length available"),
    QT_TRANSLATE_NOOP("tallora", " Different cut lengths required"),
    QT_TRANSLATE_NOOP("tallora", " Cut length required"),
    QT_TRANSLATE_NOOP("tallora", "Calculation Time : "),
    QT_TRANSLATE_NOOP("tallora", " minutes "),
    QT_TRANSLATE_NOOP("tallora", " minute "),
    QT_TRANSLATE_NOOP("tallora", " seconds"),
    QT_TRANSLATE_NOOP("tallora", "Calculation cancelled: the results shown are kept"),
    // The progress window.
    QT_TRANSLATE_NOOP("tallora", "Cut lengths allocated: "),
    QT_TRANSLATE_NOOP("tallora", "Cut lengths remaining: "),
    QT_TRANSLATE_NOOP("tallora", "Testing permutation: "),
    QT_TRANSLATE_NOOP("tallora", "Searching, step "),
    QT_TRANSLATE_NOOP("tallora", "Optimal search"),
    QT_TRANSLATE_NOOP("tallora", "Finishing"),
    QT_TRANSLATE_NOOP("tallora", "Placing pieces"),
    QT_TRANSLATE_NOOP("tallora", "Best so far: "),
    QT_TRANSLATE_NOOP("tallora", ", lower bound "),
    QT_TRANSLATE_NOOP("tallora", " of new stock"),
    // What the Optimal algorithm proved, in the status bar.
    QT_TRANSLATE_NOOP("tallora", " (stopped at the time limit)"),
    QT_TRANSLATE_NOOP("tallora", " (stopped by the user)"),
    QT_TRANSLATE_NOOP("tallora", " bars"),
    QT_TRANSLATE_NOOP("tallora", " of inventory offcuts in "),
    QT_TRANSLATE_NOOP("tallora", " of inventory offcuts"),
    QT_TRANSLATE_NOOP("tallora", " of new stock and "),
    QT_TRANSLATE_NOOP("tallora", " of usable stock in "),
    QT_TRANSLATE_NOOP("tallora", ", no lower bound yet"),
    QT_TRANSLATE_NOOP("tallora", ", no lower bound: the stock runs out"),
    QT_TRANSLATE_NOOP("tallora", "proven optimal for new stock"),
    QT_TRANSLATE_NOOP("tallora", "proven optimal"),
    QT_TRANSLATE_NOOP("tallora",
                      "Complex: stopped at the time limit before the search was done; "
                      "the pieces left were placed as the Fast algorithm places them"),
    // The diagram's status bar.
    QT_TRANSLATE_NOOP("tallora", "Pattern "),
    QT_TRANSLATE_NOOP("tallora", " bar of "),
    QT_TRANSLATE_NOOP("tallora", " bars of "),
    QT_TRANSLATE_NOOP("tallora", " pieces of "),
    QT_TRANSLATE_NOOP("tallora", ": piece "),
    QT_TRANSLATE_NOOP("tallora", ": trim "),
    QT_TRANSLATE_NOOP("tallora", ": kerf "),
    QT_TRANSLATE_NOOP("tallora", ": offcut "),
    QT_TRANSLATE_NOOP("tallora", ": scrap "),
    // The costing sheet.
    QT_TRANSLATE_NOOP("tallora", "Other Charges 1"),
    QT_TRANSLATE_NOOP("tallora", "Other Charges 2"),
    QT_TRANSLATE_NOOP("tallora", "Other Charges 3"),
    QT_TRANSLATE_NOOP("tallora", " (ea)"),
    QT_TRANSLATE_NOOP("tallora", "TOTALS"),
    // Entry messages.
    QT_TRANSLATE_NOOP("tallora", "Please check your entry and try again"),
    QT_TRANSLATE_NOOP("tallora", " is greater than the maximum allowed length of "),
    QT_TRANSLATE_NOOP("tallora", " is shorter than the minimum allowed length of "),
    QT_TRANSLATE_NOOP("tallora", "' is not a length in feet and inches. "),
    QT_TRANSLATE_NOOP("tallora", "Type feet and inches as "),
    QT_TRANSLATE_NOOP("tallora", " (fractions in halves to 32nds of an inch)."),
    QT_TRANSLATE_NOOP("tallora", "' is not a length in whole millimetres."),
    QT_TRANSLATE_NOOP("tallora", "' is not a quantity in whole numbers."),
    QT_TRANSLATE_NOOP("tallora", " is greater than the maximum allowed quantity of "),
    QT_TRANSLATE_NOOP("tallora",
                      "A quantity of 0 adds nothing to the list: it must be at least 1."),
    QT_TRANSLATE_NOOP("tallora", "The stock list already holds the maximum allowed number of "),
    QT_TRANSLATE_NOOP("tallora", "The cut list already holds the maximum allowed number of "),
    QT_TRANSLATE_NOOP("tallora", " stock lengths."),
    QT_TRANSLATE_NOOP("tallora", " cut lengths."),
    QT_TRANSLATE_NOOP("tallora", " was not added:"),
    QT_TRANSLATE_NOOP("tallora", " were not added:"),
    QT_TRANSLATE_NOOP("tallora", "Line "),
    QT_TRANSLATE_NOOP("tallora", " pasted lines "),
    QT_TRANSLATE_NOOP("tallora", " imported lines "),
    QT_TRANSLATE_NOOP("tallora", "' is not a quantity and a length."),
    // Calculation messages.
    QT_TRANSLATE_NOOP("tallora",
                      "You have not entered a stock length long enough to cut a length of "),
    QT_TRANSLATE_NOOP("tallora", "Please check your stock length entries."),
    QT_TRANSLATE_NOOP("tallora", "Please check your cut length entries."),
    // Files and settings.
    QT_TRANSLATE_NOOP("tallora", "This is not a Tallora Datafile, or the file is corrupt"),
    QT_TRANSLATE_NOOP("tallora", "Some of the data in this file is corrupted."),
    QT_TRANSLATE_NOOP("tallora",
                      "Please check the data in the calculator is OK before proceeding."),
    QT_TRANSLATE_NOOP("tallora",
                      "Your settings have been changed to match those of the loaded file"),
    QT_TRANSLATE_NOOP("tallora", "Data is from a previous version of Tallora."),
    QT_TRANSLATE_NOOP("tallora", "File has now been converted to the new format."),
    QT_TRANSLATE_NOOP("tallora",
                      "Tallora failed to exit normally when last run.  Would you like to "
                      "autorecover the last data entered?"),
    QT_TRANSLATE_NOOP("tallora", "Seconds the Optimal algorithm may search (1 to 3600):"),
    QT_TRANSLATE_NOOP("tallora",
                      "The time limit must be a whole number of seconds from 1 to 3600."),
    QT_TRANSLATE_NOOP("tallora",
                      "Threads the Optimal algorithm may use (1 to 64, or 0 for all "
                      "the machine's cores):"),
    QT_TRANSLATE_NOOP("tallora", "The number of threads must be a whole number from 0 to 64."),
};

// Texts translated only whole: the PDF report's fixed words (StatisticsTexts::Translate), whole
// lines of the cutting list, whole reasons inside the core's messages. As phrases inside other
// texts, " long" would turn "longer" into nonsense.
[[maybe_unused]] const char* const WholeTexts[] = {
    QT_TRANSLATE_NOOP("tallora", "Customer: "),
    QT_TRANSLATE_NOOP("tallora", "Reference: "),
    QT_TRANSLATE_NOOP("tallora", "Section: "),
    QT_TRANSLATE_NOOP("tallora", "Cutting instructions are as follows:"),
    QT_TRANSLATE_NOOP("tallora", "From the following stock bars:"),
    QT_TRANSLATE_NOOP("tallora", "Cut the following components:"),
    QT_TRANSLATE_NOOP("tallora", "With the following allowances:"),
    QT_TRANSLATE_NOOP("tallora", " pieces at "),
    QT_TRANSLATE_NOOP("tallora", " piece at "),
    QT_TRANSLATE_NOOP("tallora", " long"),
    QT_TRANSLATE_NOOP("tallora", "All stock bars to be trimmed by "),
    QT_TRANSLATE_NOOP("tallora", "A vice hold allowance of "),
    QT_TRANSLATE_NOOP("tallora", " per bar"),
    QT_TRANSLATE_NOOP("tallora", "A wastage of "),
    QT_TRANSLATE_NOOP("tallora", " per saw cut"),
    QT_TRANSLATE_NOOP("tallora", "All waste material to be scrapped"),
    QT_TRANSLATE_NOOP("tallora", "Any offcuts over "),
    QT_TRANSLATE_NOOP("tallora", " to be returned to stock"),
    QT_TRANSLATE_NOOP("tallora", "Please Note: "),
    QT_TRANSLATE_NOOP("tallora", "Statistics"),
    QT_TRANSLATE_NOOP("tallora", "Metreage"),
    QT_TRANSLATE_NOOP("tallora", "Footage"),
    QT_TRANSLATE_NOOP("tallora", "Percentage"),
    QT_TRANSLATE_NOOP("tallora", "Cost"),
    QT_TRANSLATE_NOOP("tallora", "Weight"),
    QT_TRANSLATE_NOOP("tallora", "Offcut & Hold: "),
    QT_TRANSLATE_NOOP("tallora", "Offcut: "),
    // Whole lines of the cutting list and whole reasons of the core's messages.
    QT_TRANSLATE_NOOP("tallora", "Total stock bars used:"),
    QT_TRANSLATE_NOOP("tallora", "* Cut from inventory offcuts *"),
    QT_TRANSLATE_NOOP("tallora", "The following items could not be incorporated into"),
    QT_TRANSLATE_NOOP("tallora", "the cutting matrix due to insufficient stock lengths"),
    QT_TRANSLATE_NOOP("tallora", "being available (Note statistics are for allocated"),
    QT_TRANSLATE_NOOP("tallora", "the cutting matrix because the job is too large:"),
    QT_TRANSLATE_NOOP("tallora", "patterns (Note statistics are for allocated"),
    QT_TRANSLATE_NOOP("tallora", "stock only):"),
    QT_TRANSLATE_NOOP("tallora", "(Note statistics are for allocated stock only):"),
    QT_TRANSLATE_NOOP("tallora",
                      "The following items could not be incorporated into the cutting matrix "
                      "due to insufficient stock lengths being available"),
    QT_TRANSLATE_NOOP("tallora", "(Empty)"),
    // The saw sheet and the labels.
    QT_TRANSLATE_NOOP("tallora", "Saw sheet"),
    QT_TRANSLATE_NOOP("tallora", "The saw sheet stops here: the CSV holds every bar."),
    QT_TRANSLATE_NOOP("tallora", "Offcut"),
    QT_TRANSLATE_NOOP("tallora", "Return to stock"),
    QT_TRANSLATE_NOOP("tallora", "a currency symbol of 1 to 8 characters"),
    QT_TRANSLATE_NOOP("tallora",
                      "empty, \".\", \",\", \"'\" or a blank other than the decimal separator"),
    QT_TRANSLATE_NOOP("tallora", "it is not a database file"),
    QT_TRANSLATE_NOOP("tallora", "it is a database of something else"),
    QT_TRANSLATE_NOOP("tallora", "the file could not be written"),
    QT_TRANSLATE_NOOP("tallora", "the file is read-only, so it was left as it was"),
    QT_TRANSLATE_NOOP("tallora", "is a folder, not a file"),
    QT_TRANSLATE_NOOP("tallora", "not a regular file, so it was left as it was"),
    QT_TRANSLATE_NOOP("tallora",
                      "the file has other names (hard links) that a save would leave with the "
                      "old contents, so it was left as it was"),
    QT_TRANSLATE_NOOP("tallora", "not a regular file (a pipe or a device)"),
    QT_TRANSLATE_NOOP("tallora", "it is not a regular file (a pipe or a device)"),
    QT_TRANSLATE_NOOP("tallora", "the picture could not be drawn at that size"),
    QT_TRANSLATE_NOOP("tallora", "the picture could not be encoded"),
    QT_TRANSLATE_NOOP("tallora", "No offcuts were added to the stock list."),
    QT_TRANSLATE_NOOP("tallora", "The job was booked to the offcut inventory."),
    QT_TRANSLATE_NOOP("tallora", "It returns no offcuts to stock."),
    QT_TRANSLATE_NOOP("tallora", "It cut no inventory offcuts."),
    QT_TRANSLATE_NOOP("tallora",
                      "Type the job's Section first: the offcut inventory keeps its offcuts by "
                      "section."),
    QT_TRANSLATE_NOOP("tallora",
                      "The job has no calculated cutting list to book: calculate it first."),
    QT_TRANSLATE_NOOP("tallora",
                      "Type the job's Section before booking its offcuts: the offcut inventory "
                      "keeps them by section."),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory keeps its offcuts in millimetres: an imperial job "
                      "can neither use nor book them."),
};

// The core's texts with figures and names in them, a line at a time: %1 to %9 stand for any
// text, itself shown translated where it is a whole text or one of these forms ("3 offcuts").
// The form with the most fixed text is tried first.
const char* const Forms[] = {
    // The cutting list.
    QT_TRANSLATE_NOOP("tallora", "Cutting Pattern Number %1:"),
    QT_TRANSLATE_NOOP("tallora", "From %1 at %2, cut the following:"),
    QT_TRANSLATE_NOOP("tallora", "* Return %1 at %2 offcut to stock *"),
    QT_TRANSLATE_NOOP("tallora", "* Return %1 at %2 offcuts to stock *"),
    QT_TRANSLATE_NOOP("tallora", "it needs more than %1 cutting"),
    QT_TRANSLATE_NOOP("tallora",
                      "The following items could not be incorporated into the cutting matrix "
                      "because the job is too large: it needs more than %1 cutting patterns"),
    // The offcut inventory.
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory cannot be kept in %1: the folder cannot be "
                      "made."),
    QT_TRANSLATE_NOOP("tallora", "The offcut inventory has no offcuts of section %1: it is empty."),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory has no offcuts of section %1; it has offcuts of %2."),
    QT_TRANSLATE_NOOP("tallora", "%1 and %2 more"),
    QT_TRANSLATE_NOOP("tallora",
                      "Added %1 of inventory offcuts of section %2 to the stock list: %3, %4."),
    QT_TRANSLATE_NOOP("tallora", "%1 returned to stock (%2) was added."),
    QT_TRANSLATE_NOOP("tallora", "%1 returned to stock (%2) were added."),
    QT_TRANSLATE_NOOP("tallora", "%1 (%2) it cut was taken away."),
    QT_TRANSLATE_NOOP("tallora", "%1 (%2) it cut were taken away."),
    QT_TRANSLATE_NOOP("tallora",
                      "%1 of the stock list is no longer in the offcut inventory and was taken "
                      "out of the stock list."),
    QT_TRANSLATE_NOOP("tallora",
                      "%1 of the stock list are no longer in the offcut inventory and were taken "
                      "out of the stock list."),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory %1 is damaged: %2. It has been left as it is."),
    QT_TRANSLATE_NOOP("tallora", "The offcut inventory %1 could not be used: %2"),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory %1 cannot be used: %2 is a folder. It has been left "
                      "as it is."),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory %1 cannot be used: %2 is not a regular file (a pipe "
                      "or a device). It has been left as it is."),
    QT_TRANSLATE_NOOP("tallora",
                      "The offcut inventory %1 was written by a newer version of Tallora "
                      "(inventory version %2; this version reads up to %3). It has been left as "
                      "it is: open it with that version."),
    QT_TRANSLATE_NOOP("tallora", "An offcut must be 1 to %1mm long, not %2mm."),
    QT_TRANSLATE_NOOP("tallora", "An offcut needs at least one piece, not %1."),
    QT_TRANSLATE_NOOP("tallora", "Offcut %1 is not in the offcut inventory."),
    QT_TRANSLATE_NOOP("tallora", "Offcut %1 is in the offcut inventory already."),
    QT_TRANSLATE_NOOP("tallora",
                      "This calculation was booked into the offcut inventory on %1 (%2): it is "
                      "not booked twice."),
    QT_TRANSLATE_NOOP("tallora",
                      "This calculation was booked into the offcut inventory on %1: it is not "
                      "booked twice."),
    QT_TRANSLATE_NOOP("tallora",
                      "Offcut %1 the job used is no longer in the offcut inventory: nothing was "
                      "booked."),
    QT_TRANSLATE_NOOP("tallora",
                      "Offcut %1 has %2 left in the offcut inventory but the job used %3: "
                      "nothing was booked."),
    QT_TRANSLATE_NOOP("tallora",
                      "The job cut inventory offcuts of %1mm that another job has used "
                      "meanwhile, and the offcut inventory has %2 too few others of that section "
                      "and length: nothing was booked. Use the offcuts again and calculate the "
                      "job before booking it."),
    QT_TRANSLATE_NOOP("tallora", "The offcut inventory has no booking %1."),
    QT_TRANSLATE_NOOP("tallora",
                      "Booking %1 was made by an earlier version of Tallora, which kept no record "
                      "of the offcuts it took: it cannot be undone."),
    QT_TRANSLATE_NOOP("tallora",
                      "Offcut %1 that the booking added has been used or changed since: the "
                      "booking cannot be undone, and nothing was changed."),
    // The saw sheet and the labels.
    QT_TRANSLATE_NOOP("tallora", "Bar %1: %2  (pattern %3, bar %4 of %5)"),
    QT_TRANSLATE_NOOP("tallora", "Bar %1: %2 inventory offcut  (pattern %3, bar %4 of %5)"),
    QT_TRANSLATE_NOOP("tallora", "Bars: %1    Saw cuts: %2    Length sawn: %3"),
    QT_TRANSLATE_NOOP("tallora",
                      "Kerf %1, trim %2, hold %3. Cut the bars in this order; the remaining "
                      "length is the bar after each cut."),
    QT_TRANSLATE_NOOP("tallora", "remaining %1"),
    QT_TRANSLATE_NOOP("tallora", "Keep offcut %1"),
    QT_TRANSLATE_NOOP("tallora", "Scrap %1"),
    QT_TRANSLATE_NOOP("tallora", "Pattern %1, bar %2 of %3"),
    QT_TRANSLATE_NOOP("tallora", "Pattern %1, bar %2 of %3, inventory %4"),
    QT_TRANSLATE_NOOP("tallora", "Section %1"),
    // Files.
    QT_TRANSLATE_NOOP("tallora", "The job needs %1 labels: a PDF of labels holds at most %2."),
    QT_TRANSLATE_NOOP("tallora", "the folder %1 does not exist"),
    QT_TRANSLATE_NOOP("tallora", "The file %1 could not be read:"),
    QT_TRANSLATE_NOOP("tallora", "The file %1 is larger than %2 MB: it is not a list of rows."),
    QT_TRANSLATE_NOOP("tallora",
                      "That file could no longer be found and has been removed from the Reopen "
                      "list:"),
    QT_TRANSLATE_NOOP("tallora", "%1 \"%2\" is not %3: the locale's is used."),
};

// Forms whose %1 is a count, a whole number: "%1 pieces" must not take in a status line that
// ends in "pieces".
const char* const Counts[] = {
    QT_TRANSLATE_NOOP("tallora", "%1 cut at %2 long, producing %3 piece"),
    QT_TRANSLATE_NOOP("tallora", "%1 cut at %2 long, producing %3 pieces"),
    QT_TRANSLATE_NOOP("tallora", "%1 cuts at %2 long, producing %3 pieces"),
    QT_TRANSLATE_NOOP("tallora", "%1 bar at %2"),
    QT_TRANSLATE_NOOP("tallora", "%1 bars at %2"),
    QT_TRANSLATE_NOOP("tallora", "%1 pieces at %2"),
    QT_TRANSLATE_NOOP("tallora", "%1 piece at %2 long"),
    QT_TRANSLATE_NOOP("tallora", "%1 row"),
    QT_TRANSLATE_NOOP("tallora", "%1 rows"),
    QT_TRANSLATE_NOOP("tallora", "%1 piece"),
    QT_TRANSLATE_NOOP("tallora", "%1 pieces"),
    QT_TRANSLATE_NOOP("tallora", "%1 offcut"),
    QT_TRANSLATE_NOOP("tallora", "%1 offcuts"),
    QT_TRANSLATE_NOOP("tallora", "%1 inventory offcut"),
    QT_TRANSLATE_NOOP("tallora", "%1 inventory offcuts"),
    QT_TRANSLATE_NOOP("tallora", "%1 offcut is in the stock list already."),
    QT_TRANSLATE_NOOP("tallora", "%1 offcuts are in the stock list already."),
    QT_TRANSLATE_NOOP("tallora",
                      "%1 offcut was left out: the stock list has a row of that length already."),
    QT_TRANSLATE_NOOP("tallora",
                      "%1 offcuts were left out: the stock list has a row of that length already."),
    QT_TRANSLATE_NOOP("tallora", "%1 offcut was left out: the stock list is full."),
    QT_TRANSLATE_NOOP("tallora", "%1 offcuts were left out: the stock list is full."),
};

QString Translate(const char* phrase) { return QCoreApplication::translate("tallora", phrase); }

// One of Forms as a pattern over a whole line.
struct Form {
    const char* English;
    QString Source;  // English as Qt compares it with the translation
    QRegularExpression Pattern;
    std::vector<int> Numbers;  // the %-numbers in the order they come in English
    QString LongestFixedPart;  // a quick test before the pattern
    qsizetype FixedLength = 0;
};

Form MakeForm(const char* english, bool counted) {
    static const QRegularExpression marker(QStringLiteral("%([1-9])"));
    Form form{english, QString::fromUtf8(english), {}, {}, {}, 0};
    const QString& text = form.Source;
    QString pattern = QStringLiteral("\\A");
    qsizetype at = 0;
    const auto fixed = [&](qsizetype end) {
        const QString part = text.mid(at, end - at);
        pattern += QRegularExpression::escape(part);
        form.FixedLength += part.size();
        if (part.size() > form.LongestFixedPart.size()) form.LongestFixedPart = part;
    };
    for (auto m = marker.globalMatch(text); m.hasNext();) {
        const auto match = m.next();
        fixed(match.capturedStart());
        const int number = match.captured(1).toInt();
        pattern += counted && number == 1 ? QStringLiteral("([0-9]+)") : QStringLiteral("(.+?)");
        form.Numbers.push_back(number);
        at = match.capturedEnd();
    }
    fixed(text.size());
    form.Pattern.setPattern(pattern + QStringLiteral("\\z"));
    return form;
}

std::vector<Form> MakeForms() {
    std::vector<Form> forms;
    for (const char* english : Forms) forms.push_back(MakeForm(english, false));
    for (const char* english : Counts) forms.push_back(MakeForm(english, true));
    std::stable_sort(forms.begin(), forms.end(),
                     [](const Form& a, const Form& b) { return a.FixedLength > b.FixedLength; });
    return forms;
}

// A line's translation as a whole text or one of Forms; null when it has none.
std::optional<QString> LineTranslation(const QString& line) {
    if (line.isEmpty()) return std::nullopt;
    const QByteArray utf8 = line.toUtf8();
    if (const QString whole = Translate(utf8.constData()); whole != line) return whole;
    static const std::vector<Form> forms = MakeForms();
    for (const Form& form : forms) {
        if (!line.contains(form.LongestFixedPart)) continue;
        const QString translated = Translate(form.English);
        if (translated == form.Source) continue;
        const QRegularExpressionMatch match = form.Pattern.match(line);
        if (!match.hasMatch()) continue;
        std::array<QString, 10> values;
        for (std::size_t i = 0; i < form.Numbers.size(); ++i) {
            const QString value = match.captured(static_cast<int>(i) + 1);
            values[static_cast<std::size_t>(form.Numbers[i])] =
                LineTranslation(value).value_or(value);
        }
        // One pass, so that a value holding "%2" is not filled in again.
        QString shown;
        for (qsizetype i = 0; i < translated.size(); ++i) {
            if (translated[i] == QLatin1Char('%') && i + 1 < translated.size() &&
                translated[i + 1] >= QLatin1Char('1') && translated[i + 1] <= QLatin1Char('9')) {
                shown += values[static_cast<std::size_t>(translated[i + 1].digitValue())];
                ++i;
            } else {
                shown += translated[i];
            }
        }
        return shown;
    }
    return std::nullopt;
}

// A line with its phrases translated in place.
QString PhrasesTranslated(QString shown) {
    // Longest first, so that no phrase is taken apart by a shorter one inside it.
    static const std::vector<const char*> longestFirst = [] {
        std::vector<const char*> phrases(std::begin(Phrases), std::end(Phrases));
        std::stable_sort(phrases.begin(), phrases.end(), [](const char* a, const char* b) {
            return std::char_traits<char>::length(a) > std::char_traits<char>::length(b);
        });
        return phrases;
    }();
    for (const char* phrase : longestFirst) {
        const QString english = QString::fromUtf8(phrase);
        if (!shown.contains(english)) continue;
        const QString translated = Translate(phrase);
        if (translated != english) shown.replace(english, translated);
    }
    return shown;
}

}  // namespace

QString CoreText(const std::string& text) {
    const QString english = QString::fromStdString(text);
    const QString whole = Translate(text.c_str());
    if (whole != english) return whole;
    // A line at a time, its indent kept: the cutting list's lines and the parts of a message.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n"));
    QString shown;
    qsizetype at = 0;
    const auto translateLine = [&](qsizetype end) {
        const QString line = english.mid(at, end - at);
        qsizetype indent = 0;
        while (indent < line.size() && line[indent] == QLatin1Char(' ')) ++indent;
        if (const auto translated = LineTranslation(line.mid(indent)))
            shown += line.left(indent) + *translated;
        else
            shown += PhrasesTranslated(line);
    };
    for (auto m = lineBreak.globalMatch(english); m.hasNext();) {
        const auto match = m.next();
        translateLine(match.capturedStart());
        shown += match.captured();
        at = match.capturedEnd();
    }
    translateLine(english.size());
    return shown;
}

QString CurrencyLabel(const NumberFormat& format) {
    return format.CurrencySymbol.empty() ? QStringLiteral("\u00A3")
                                         : QString::fromStdString(format.CurrencySymbol);
}

}  // namespace tallora
