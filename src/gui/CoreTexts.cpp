#include "gui/CoreTexts.h"

#include <QCoreApplication>
#include <algorithm>
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

// The PDF report's fixed words, translated only whole (StatisticsTexts::Translate): as phrases
// inside other texts, " long" would turn "longer" into nonsense.
[[maybe_unused]] const char* const ReportWords[] = {
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
};

QString Translate(const char* phrase) { return QCoreApplication::translate("tallora", phrase); }

}  // namespace

QString CoreText(const std::string& text) {
    const QString whole = Translate(text.c_str());
    if (whole != QString::fromStdString(text)) return whole;
    // Longest first, so that no phrase is taken apart by a shorter one inside it.
    static const std::vector<const char*> longestFirst = [] {
        std::vector<const char*> phrases(std::begin(Phrases), std::end(Phrases));
        std::stable_sort(phrases.begin(), phrases.end(), [](const char* a, const char* b) {
            return std::char_traits<char>::length(a) > std::char_traits<char>::length(b);
        });
        return phrases;
    }();
    QString shown = whole;
    for (const char* phrase : longestFirst) {
        const QString english = QString::fromUtf8(phrase);
        if (!shown.contains(english)) continue;
        const QString translated = Translate(phrase);
        if (translated != english) shown.replace(english, translated);
    }
    return shown;
}

QString CurrencyLabel(const NumberFormat& format) {
    return format.CurrencySymbol.empty() ? QStringLiteral("\u00A3")
                                         : QString::fromStdString(format.CurrencySymbol);
}

}  // namespace tallora
