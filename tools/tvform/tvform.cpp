#include "tools/tvform/tvform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "data/types/string_types.h"
#include "dialogs/dialog_classes.h"
#include "platform/components/class_registry.h"
#include "platform/components/component_stream.h"
#include "platform/components/text_form.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/form_dump.h"
#include "platform/ui/forms.h"
#include "translator/app_translator.h"
#include "translator/translations_stream.h"

namespace tv::tvform {

namespace {

const char* const kUsage =
    "usage: tvform COMMAND ...\n"
    "\n"
    "Shows, converts and edits stored forms (text or binary) and their translations.\n"
    "\n"
    "commands:\n"
    "  show FILE [--json]                 each translator: version, languages, current\n"
    "                                     language, rules, entries and named strings\n"
    "  convert IN OUT [--resource]        text form to binary or binary to text, as IN is;\n"
    "                                     binary in a resource header with --resource\n"
    "  apply FILE LANGUAGE                the form's controls as they show in LANGUAGE\n"
    "  set FILE COMPONENT.PROPERTY LANGUAGE TEXT\n"
    "                                     change the text of one entry\n"
    "  set-string FILE NAME LANGUAGE TEXT change the text of one named string\n"
    "  add-language FILE NAME [--copy-from LANGUAGE]\n"
    "                                     add a language to every translator of the form\n"
    "\n"
    "Options may stand anywhere on the line; \"--\" ends them (for a TEXT that begins\n"
    "with \"--\"). A translation holds at most 255 characters.\n"
    "Texts are shown and taken in UTF-8 and stored in Windows-1252.\n"
    "Exit status: 0 done, 1 something named was not found, 2 unusable input.\n";

// A failure with the exit code it ends the tool with.
struct TToolError {
  TExitCode Code;
  std::string Message;
};

[[noreturn]] void Fail(TExitCode code, const std::string& message) {
  throw TToolError{code, message};
}

// The command line split into operands (the command first) and options,
// which may stand before, between or after the operands, as on the command
// lines of both systems; "--" ends the options, so that a text beginning
// with "--" can follow it. An option takes its value after "=" or as the
// next argument.
struct TOptionSpec {
  std::string Name;  // with its dashes
  bool TakesValue;
};

struct TArguments {
  std::vector<std::string> Operands;
  std::map<std::string, std::string> Options;

  bool Has(const std::string& name) const { return Options.count(name) != 0; }
  const std::string& Operand(std::size_t index) const { return Operands[index]; }
};

bool IsOption(const std::string& arg) {
  return arg.size() > 2 && arg.compare(0, 2, "--") == 0;
}

TArguments ParseArguments(const std::vector<std::string>& args, const std::vector<TOptionSpec>& known) {
  TArguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !IsOption(arg)) {
      parsed.Operands.push_back(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const auto spec =
        std::find_if(known.begin(), known.end(), [&](const TOptionSpec& s) { return s.Name == name; });
    if (spec == known.end()) Fail(ecBadInput, "unknown option " + name);
    std::string value;
    if (spec->TakesValue && equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (spec->TakesValue) {
      if (i + 1 >= args.size()) Fail(ecBadInput, name + " needs a value");
      value = args[++i];
    } else if (equals != std::string::npos) {
      Fail(ecBadInput, name + " takes no value");
    }
    parsed.Options[name] = value;
  }
  return parsed;
}

// A translation longer than its column would be cut where it is stored:
// refused, naming the limit, before anything changes.
std::string FittingText(const std::string& ansi, const TDataField& column, const std::string& what) {
  const auto* type = dynamic_cast<const TStringType*>(column.DataType());
  if (type != nullptr && static_cast<long long>(ansi.size()) > type->Size())
    Fail(ecBadInput, what + " has " + std::to_string(ansi.size()) +
                         " characters; a translation holds at most " + std::to_string(type->Size()));
  return ansi;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(ecNotFound, path + ": cannot be read");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Written beside the file and then put in its place: a failed write never
// leaves the user with half a form.
void WriteFile(const std::string& path, const std::string& bytes) {
  namespace fs = std::filesystem;
  // A read-only file stays as it is (Windows refuses to write one); a file
  // that is replaced keeps its permissions.
  std::error_code unknown;
  const fs::file_status existing = fs::status(path, unknown);
  const bool exists = !unknown && fs::exists(existing);
  constexpr fs::perms kWritable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (exists && (existing.permissions() & kWritable) == fs::perms::none)
    Fail(ecBadInput, path + ": is read-only and was not changed");
  const std::string temporary = path + ".tvform~";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::remove(temporary.c_str());
      Fail(ecBadInput, path + ": cannot be written");
    }
  }
  std::error_code failed;
  if (exists) fs::permissions(temporary, existing.permissions(), failed);
  // The filesystem rename replaces an existing file on Windows too.
  if (!failed) fs::rename(temporary, path, failed);
  if (failed) {
    std::remove(temporary.c_str());
    Fail(ecBadInput, path + ": cannot be replaced");
  }
}

bool IsBinary(const std::string& bytes) {
  return bytes.compare(0, kStreamSignature.size(), kStreamSignature) == 0 || HasResourceHeader(bytes);
}

// The form of a binary file, and its resource header when it has one.
std::string_view Unwrapped(std::string_view file, std::optional<TResourceHeader>& wrapping) {
  if (!HasResourceHeader(file)) return file;
  std::string_view form;
  wrapping = SplitResourceHeader(file, form);
  return form;
}

// The class name of a form's root, in capitals: the name of its resource.
std::string ResourceName(std::string_view bytes) {
  TItemReader items(bytes);
  items.ReadBytes(kStreamSignature.size());
  items.ReadObjectPrefix();
  return UpperCase(items.ReadShortString());
}

struct TFormFile {
  std::string Path;
  bool Binary = false;
  std::optional<TResourceHeader> Wrapping;  // written back as it was read
  std::unique_ptr<TComponent> Root;
  std::vector<TTranslator*> Translators;
};

// Designing: the form keeps its stored state (its current languages) so that
// writing it back changes only what a command changes.
TFormFile Load(const std::string& path, bool designing) {
  InitializeTranslatorLibrary();
  RegisterControlClasses();
  RegisterDialogClasses();
  TFormFile form;
  form.Path = path;
  const std::string content = ReadFile(path);
  form.Binary = IsBinary(content);
  try {
    const std::string bytes =
        form.Binary ? std::string(Unwrapped(content, form.Wrapping)) : ObjectTextToBinary(content);
    TItemReader header(bytes);
    header.ReadBytes(kStreamSignature.size());
    header.ReadObjectPrefix();
    const std::string className = header.ReadShortString();
    form.Root.reset(CreateComponent(className, nullptr));
    if (designing) form.Root->SetDesigning();
    TReader::ReadRoot(bytes, *form.Root);
  } catch (const Exception& e) {
    Fail(ecBadInput, path + ": " + e.Message());
  }
  for (int i = 0; i < form.Root->ComponentCount(); ++i)
    if (auto* t = dynamic_cast<TTranslator*>(form.Root->Components(i))) form.Translators.push_back(t);
  return form;
}

void Save(const TFormFile& form) {
  const std::string bytes = TWriter::WriteRoot(*form.Root);
  if (!form.Binary)
    WriteFile(form.Path, ObjectBinaryToText(bytes));
  else
    WriteFile(form.Path, form.Wrapping ? WrapInResourceHeader(*form.Wrapping, bytes) : bytes);
}

std::string Ansi(const std::string& utf8, const std::string& what) {
  std::string ansi;
  if (!Utf8ToAnsi(utf8, ansi)) Fail(ecBadInput, what + " is no UTF-8 text of characters of Windows-1252");
  return ansi;
}

TTranslator& FirstTranslator(const TFormFile& form) {
  if (form.Translators.empty()) Fail(ecNotFound, form.Path + ": the form has no translator");
  return *form.Translators.front();
}

int LanguageOf(const TFormFile& form, TTranslator& t, const std::string& name) {
  const int index = t.Strings().IndexOfLanguage(name);
  if (index < 0) Fail(ecNotFound, form.Path + ": " + t.Name() + " has no language " + AnsiToUtf8(name));
  return index;
}

// --- show

const TTranslatorShared& Fields() {
  return InitializeTranslatorLibrary();
}

std::string Json(const std::string& ansi) {
  std::string out = "\"";
  for (char c : AnsiToUtf8(ansi)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonTexts(const TTranslator& t, const TDataRow& row) {
  std::string out = "{";
  for (int i = 0; i < t.Strings().LanguageCount(); ++i)
    out += (i ? ", " : "") + Json(t.Strings().LanguageName(i)) + ": " +
           Json(row.GetFStringValue(&t.Strings().LanguageField(i)));
  return out + "}";
}

void ShowJson(const TFormFile& form, std::ostream& out) {
  const TTranslatorShared& f = Fields();
  out << "{\"file\": " << Json(form.Path) << ", \"form\": " << Json(form.Root->Name())
      << ", \"translators\": [";
  for (std::size_t n = 0; n < form.Translators.size(); ++n) {
    TTranslator& t = *form.Translators[n];
    TTranslatedStrings& s = t.Strings();
    out << (n ? ", " : "") << "{\"name\": " << Json(t.Name()) << ", \"class\": " << Json(t.ClassName())
        << ", \"version\": " << Json(VersionText(t.StoredVersion())) << ", \"languages\": [";
    for (int i = 0; i < s.LanguageCount(); ++i) out << (i ? ", " : "") << Json(s.LanguageName(i));
    out << "], \"currentLanguage\": " << Json(t.Language())
        << ", \"showProperties\": " << Json(ShowPropertiesName(s.ShowProperties())) << ", \"rules\": [";
    bool first = true;
    for (TDataRow* rule : s.Rules().Rows()) {
      out << (first ? "" : ", ") << "{\"class\": " << Json(rule->GetFStringValue(f.ClassField.get()))
          << ", \"property\": " << Json(rule->GetFStringValue(f.PropertyField.get()))
          << ", \"includeSubclasses\": "
          << (rule->GetFBooleanValue(f.IncludeSubclassesField.get()) ? "true" : "false")
          << ", \"translate\": " << (rule->GetFBooleanValue(f.TranslateField.get()) ? "true" : "false")
          << "}";
      first = false;
    }
    out << "], \"entries\": [";
    first = true;
    for (TDataRow* entry : s.Properties().Rows()) {
      out << (first ? "" : ", ") << "{\"class\": " << Json(entry->GetFStringValue(f.ClassField.get()))
          << ", \"component\": " << Json(entry->GetFStringValue(f.ComponentField.get()))
          << ", \"property\": " << Json(entry->GetFStringValue(f.PropertyField.get()))
          << ", \"translate\": " << (entry->GetFBooleanValue(f.TranslateField.get()) ? "true" : "false")
          << ", \"texts\": " << JsonTexts(t, *entry) << "}";
      first = false;
    }
    out << "], \"namedStrings\": [";
    first = true;
    for (TDataRow* named : s.NamedStrings().Rows()) {
      out << (first ? "" : ", ") << "{\"name\": " << Json(named->GetFStringValue(f.PropertyField.get()))
          << ", \"texts\": " << JsonTexts(t, *named) << "}";
      first = false;
    }
    out << "]}";
  }
  out << "]}\n";
}

void ShowTexts(const TTranslator& t, const TDataRow& row, std::ostream& out) {
  for (int i = 0; i < t.Strings().LanguageCount(); ++i)
    out << "      " << AnsiToUtf8(t.Strings().LanguageName(i)) << ": "
        << AnsiToUtf8(row.GetFStringValue(&t.Strings().LanguageField(i))) << "\n";
}

void ShowText(const TFormFile& form, std::ostream& out) {
  const TTranslatorShared& f = Fields();
  out << form.Path << ": " << form.Root->ClassName() << " " << form.Root->Name() << "\n";
  if (form.Translators.empty()) out << "  no translator\n";
  for (TTranslator* t : form.Translators) {
    TTranslatedStrings& s = t->Strings();
    out << "  " << t->Name() << " (" << t->ClassName() << ")\n";
    out << "    Version: " << VersionText(t->StoredVersion()) << "\n    Languages:";
    for (int i = 0; i < s.LanguageCount(); ++i) out << (i ? ", " : " ") << AnsiToUtf8(s.LanguageName(i));
    out << "\n    Current language: " << AnsiToUtf8(t->Language())
        << "\n    ShowProperties: " << ShowPropertiesName(s.ShowProperties()) << "\n    Rules:\n";
    for (TDataRow* rule : s.Rules().Rows()) out << "      " << RuleLine(*rule) << "\n";
    out << "    Entries:\n";
    for (TDataRow* entry : s.Properties().Rows()) {
      out << "    " << EntryLine(*entry) << "\n";
      if (entry->GetFBooleanValue(f.TranslateField.get())) ShowTexts(*t, *entry, out);
    }
    out << "    Named strings:\n";
    for (TDataRow* named : s.NamedStrings().Rows()) {
      out << "    " << AnsiToUtf8(named->GetFStringValue(f.PropertyField.get())) << "\n";
      ShowTexts(*t, *named, out);
    }
  }
}

// --- commands

int Show(const TArguments& a, std::ostream& out) {
  if (a.Operands.size() != 2) Fail(ecBadInput, "usage: tvform show FILE [--json]");
  const TFormFile form = Load(a.Operand(1), true);
  if (a.Has("--json"))
    ShowJson(form, out);
  else
    ShowText(form, out);
  return ecOk;
}

int Convert(const TArguments& a, std::ostream& out) {
  const std::vector<std::string>& args = a.Operands;
  if (args.size() != 3) Fail(ecBadInput, "usage: tvform convert IN OUT [--resource]");
  const std::string content = ReadFile(args[1]);
  std::string converted;
  try {
    std::optional<TResourceHeader> wrapping;
    if (IsBinary(content)) {
      converted = ObjectBinaryToText(Unwrapped(content, wrapping));
    } else {
      converted = ObjectTextToBinary(content);
      if (a.Has("--resource")) converted = WrapInResourceHeader({ResourceName(converted)}, converted);
    }
  } catch (const Exception& e) {
    Fail(ecBadInput, args[1] + ": " + e.Message());
  }
  WriteFile(args[2], converted);
  out << args[2] << ": " << (IsBinary(content) ? "text form" : "binary form") << " written\n";
  return ecOk;
}

int Apply(const TArguments& a, std::ostream& out) {
  const std::vector<std::string>& args = a.Operands;
  if (args.size() != 3) Fail(ecBadInput, "usage: tvform apply FILE LANGUAGE");
  const TFormFile form = Load(args[1], false);
  const std::string language = Ansi(args[2], "LANGUAGE");
  TTranslator& t = FirstTranslator(form);
  LanguageOf(form, t, language);
  t.SwitchLanguage(language, false);
  for (TTranslator* other : form.Translators) other->SwitchLanguage(language, false);
  auto* shown = dynamic_cast<TCustomForm*>(form.Root.get());
  if (shown == nullptr) Fail(ecBadInput, form.Path + ": " + form.Root->ClassName() + " is no form");
  out << AnsiToUtf8(DumpForm(*shown));
  return ecOk;
}

// COMPONENT.PROPERTY: the property may itself hold a dot ("Lines[0]" does not).
int Set(const TArguments& a, std::ostream& out) {
  const std::vector<std::string>& args = a.Operands;
  if (args.size() != 5) Fail(ecBadInput, "usage: tvform set FILE COMPONENT.PROPERTY LANGUAGE TEXT");
  const std::size_t dot = args[2].find('.');
  if (dot == std::string::npos) Fail(ecBadInput, args[2] + " is not COMPONENT.PROPERTY");
  const std::string component = args[2].substr(0, dot), property = args[2].substr(dot + 1);
  TFormFile form = Load(args[1], true);
  TTranslator& t = FirstTranslator(form);
  const int language = LanguageOf(form, t, Ansi(args[3], "LANGUAGE"));
  TDataRow* entry = t.Strings().Properties().LocateRow({component, property});
  if (entry == nullptr) Fail(ecNotFound, form.Path + ": " + t.Name() + " has no entry " + args[2]);
  TLangNameField& column = t.Strings().LanguageField(language);
  entry->SetFStringValue(&column, FittingText(Ansi(args[4], "TEXT"), column, "TEXT"));
  // The controls show the current language, and writing collects from them.
  t.ApplyLanguage(t.LanguageIndex());
  Save(form);
  out << form.Path << ": " << args[2] << " in " << args[3] << " set\n";
  return ecOk;
}

int SetString(const TArguments& a, std::ostream& out) {
  const std::vector<std::string>& args = a.Operands;
  if (args.size() != 5) Fail(ecBadInput, "usage: tvform set-string FILE NAME LANGUAGE TEXT");
  TFormFile form = Load(args[1], true);
  TTranslator& t = FirstTranslator(form);
  const int language = LanguageOf(form, t, Ansi(args[3], "LANGUAGE"));
  TDataRow* named = t.Strings().NamedStrings().LocateRow({Ansi(args[2], "NAME")});
  if (named == nullptr) Fail(ecNotFound, form.Path + ": " + t.Name() + " has no named string " + args[2]);
  TLangNameField& column = t.Strings().LanguageField(language);
  named->SetFStringValue(&column, FittingText(Ansi(args[4], "TEXT"), column, "TEXT"));
  Save(form);
  out << form.Path << ": " << args[2] << " in " << args[3] << " set\n";
  return ecOk;
}

int AddLanguage(const TArguments& a, std::ostream& out) {
  const std::vector<std::string>& args = a.Operands;
  if (args.size() != 3) Fail(ecBadInput, "usage: tvform add-language FILE NAME [--copy-from LANGUAGE]");
  const bool copy = a.Has("--copy-from");
  TFormFile form = Load(args[1], true);
  if (form.Translators.empty()) Fail(ecNotFound, form.Path + ": the form has no translator");
  const std::string name = Ansi(args[2], "NAME");
  for (TTranslator* t : form.Translators) {
    const int from = copy ? LanguageOf(form, *t, Ansi(a.Options.at("--copy-from"), "LANGUAGE")) : -1;
    try {
      t->Strings().InsertLanguage(t->Strings().LanguageCount(), name, from);
    } catch (const Exception& e) {
      Fail(ecBadInput, form.Path + ": " + t->Name() + ": " + AnsiToUtf8(e.Message()));
    }
  }
  Save(form);
  out << form.Path << ": language " << args[2] << " added\n";
  return ecOk;
}

struct TCommand {
  const char* Name;
  int (*Run)(const TArguments& args, std::ostream& out);
  std::vector<TOptionSpec> Options;
};

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"show", Show, {{"--json", false}}},
      {"convert", Convert, {{"--resource", false}}},
      {"apply", Apply, {}},
      {"set", Set, {}},
      {"set-string", SetString, {}},
      {"add-language", AddLanguage, {{"--copy-from", true}}},
  };
  return commands;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return !args.empty() && args[0] == "help";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || AsksForHelp(args)) {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? ecBadInput : ecOk;
  }
  try {
    // The command is the first operand; every command's options are known
    // while it is looked for, only its own afterwards.
    std::vector<TOptionSpec> all;
    for (const TCommand& c : Commands()) all.insert(all.end(), c.Options.begin(), c.Options.end());
    const std::vector<std::string> operands = ParseArguments(args, all).Operands;
    if (operands.empty()) Fail(ecBadInput, "no command given (tvform --help lists them)");
    const std::string& command = operands[0];
    for (const TCommand& c : Commands())
      if (command == c.Name) return c.Run(ParseArguments(args, c.Options), out);
    Fail(ecBadInput, "unknown command " + command + " (tvform --help lists them)");
  } catch (const TToolError& e) {
    err << "tvform: " << e.Message << "\n";
    return e.Code;
  } catch (const std::exception& e) {
    err << "tvform: " << e.what() << "\n";
    return ecBadInput;
  }
}

}  // namespace tv::tvform
