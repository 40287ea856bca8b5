#pragma once
// How a translator's stored translations (its defined property
// "Translations") spell their parts: the version, the ShowProperties value
// and one line per rule and per entry. The translator's reader and writer
// and tvform's views of a form use these, so that the format is spelled in
// one place.

#include <string>

#include "data/elements/data_row.h"
#include "translator/translated_strings.h"

namespace tv {

// "spAllAdded" or "spTranslatedOnly".
const char* ShowPropertiesName(TShowProperties value);
// "True" or "False".
const char* BooleanText(bool value);
// A version as its number spells it, two digits after the point: 200 is
// "2.00"; 0 (nothing stored) is "none".
std::string VersionText(int version);

// A rule of the rules' table: "TLabel.Caption: True, False" (class,
// property, include subclasses, translate).
std::string RuleLine(const TDataRow& rule);
void ReadRuleLine(std::string_view line, TDataRow& rule);

// An entry without its texts: "TLabel(txInfo).Caption: True" (class,
// component, property, translate). Streams before version 1.02 wrote a
// number after the component's class: "TLabel(12),txInfo.Caption: True".
std::string EntryLine(const TDataRow& entry);
void ReadEntryLine(std::string_view line, int version, TDataRow& entry);

}  // namespace tv
