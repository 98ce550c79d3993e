#include "keys_tool/keys_dialogue.h"

#include <algorithm>
#include <string>

#include "check/report.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"
#include "i18n/text_case.h"
#include "keys/key_names.h"
#include "keys_tool/key_choice.h"
#include "keys_tool/keys_command.h"
#include "keys_tool/settings_write.h"

namespace sashcaster::keys_tool {

namespace {

std::string keyText(std::uint32_t code) {
  return keys::describeKey(code) + " (" + keys::writtenCode(code) + ")";
}

// The width of the list's first column, in a console's columns.
constexpr std::size_t labelColumns = 24;

void showKeys(const Settings& keys, std::ostream& out) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    std::string label = i18n::say("dialogue.row", {{"label", settingLabel(index)}});
    const std::size_t width = i18n::displayWidth(label);
    label.append(width < labelColumns ? labelColumns - width : 0, ' ');
    out << "  " << label << keyText(keys.*settingsKeys[index].field) << "\n";
  }
}

std::string keyNamed(std::uint32_t code) {
  return *keys::keyName(code);
}

// A key without a name: the settings check would call its code a mistake.
std::string unnamed(std::uint32_t code) {
  return i18n::say("dialogue.unnamed", {{"code", std::to_string(code)}});
}

enum class Answer : std::uint8_t { Chosen, Leave };

// The other key among the five that already has this code: two keys on one
// code keep a throw from ever happening. Throws switched off never clash.
std::optional<std::size_t> heldBy(const Settings& keys, std::size_t index, std::uint32_t code) {
  for (std::size_t other = 0; other < settingsKeys.size(); ++other) {
    if (other != index && code < 255 && keys.*settingsKeys[other].field == code) {
      return other;
    }
  }
  return std::nullopt;
}

// Why the code cannot be the key of settingsKeys[index], and what to press;
// none when it can. `kept`: the key it has now, which Enter keeps.
std::optional<std::string> refusal(const Settings& keys, std::size_t index, std::uint32_t code,
                                   bool kept) {
  if (const std::optional<std::string> problem = unusableKey(code)) {
    return i18n::say("dialogue.press_another",
                     {{"problem", keys::keyName(code) ? *problem : unnamed(code)}});
  }
  const std::optional<std::size_t> other = heldBy(keys, index, code);
  if (!other) {
    return std::nullopt;
  }
  const std::uint32_t now = keys.*settingsKeys[index].field;
  const bool canKeep = !kept && !unusableKey(now) && !heldBy(keys, index, now);
  return i18n::say(canKeep ? "dialogue.taken_keep" : "dialogue.taken",
                   {{"key", keyText(code)},
                    {"label", settingLabel(*other)},
                    {"enter", keyNamed(keepKey)},
                    {"now", keyText(now)}});
}

// One key asked for until the player presses one that the plug-in can use
// and that no other throw has.
Answer askForKey(std::size_t index, Settings& keys, const KeyPresses& next, std::ostream& out) {
  std::uint32_t& code = keys.*settingsKeys[index].field;
  out << i18n::say("dialogue.press", {{"label", settingLabel(index)}, {"key", keyText(code)}})
      << " " << std::flush;
  for (;;) {
    const std::optional<std::uint32_t> pressed = next();
    if (!pressed || *pressed == leaveKey) {
      out << keyNamed(leaveKey) << "\n";
      return Answer::Leave;
    }
    const bool kept = *pressed == keepKey;
    const std::uint32_t chosen = kept ? code : *pressed == offKey ? offCode : *pressed;
    if (const std::optional<std::string> why = refusal(keys, index, chosen, kept)) {
      out << "\n  " << *why << " " << std::flush;
      continue;
    }
    out << (kept ? i18n::say("dialogue.kept") : keyText(chosen)) << "\n";
    code = chosen;
    return Answer::Chosen;
  }
}

// Enter or Esc; other keys are passed over.
bool confirmed(const KeyPresses& next) {
  for (;;) {
    const std::optional<std::uint32_t> pressed = next();
    if (!pressed || *pressed == leaveKey) {
      return false;
    }
    if (*pressed == keepKey) {
      return true;
    }
  }
}

void waitForEnter(const KeyPresses& next, std::ostream& out) {
  out << i18n::say("common.press_enter_to_close", {{"enter", keyNamed(keepKey)}}) << std::endl;
  for (std::optional<std::uint32_t> pressed = next(); pressed && *pressed != keepKey;
       pressed = next()) {
  }
}

// The keys to write: those the player changed, and those kept whose line in
// the file does not load (empty, no number, out of range), so that the line
// then holds the key shown and no fix for it is left to give.
std::optional<KeyCodes> keysToSave(const check::Report& report, const KeyPresses& next,
                                   std::ostream& out) {
  std::optional<KeyCodes> codes = askForKeys(report.loaded, next, out);
  for (std::size_t index = 0; codes && index < settingsKeys.size(); ++index) {
    if (!(*codes)[index] && report.winner[index] && !report.fromLine[index]) {
      (*codes)[index] = report.loaded.*settingsKeys[index].field;
    }
  }
  return codes;
}

}  // namespace

std::optional<KeyCodes> askForKeys(const Settings& now, const KeyPresses& next, std::ostream& out) {
  showKeys(now, out);
  out << "\n"
      << i18n::say("dialogue.intro", {{"enter", keyNamed(keepKey)},
                                      {"delete", keyNamed(offKey)},
                                      {"esc", keyNamed(leaveKey)}})
      << "\n";
  Settings chosen = now;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (askForKey(index, chosen, next, out) == Answer::Leave) {
      return std::nullopt;
    }
  }
  out << "\n" << i18n::say("dialogue.new_keys") << "\n";
  showKeys(chosen, out);
  out << i18n::say("dialogue.save", {{"enter", keyNamed(keepKey)}, {"esc", keyNamed(leaveKey)}})
      << " " << std::flush;
  if (!confirmed(next)) {
    out << "\n";
    return std::nullopt;
  }
  out << "\n";
  KeyCodes changed;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const auto field = settingsKeys[index].field;
    if (chosen.*field != now.*field) {
      changed[index] = chosen.*field;
    }
  }
  return changed;
}

int runDialogue(const std::filesystem::path& file, const KeyPresses& next, std::ostream& out) {
  const std::string name = check::withoutControlBytes(file.string());
  const FileBytes before = readForEdit(file);
  int status = exitWritten;
  if (!before.problem.empty()) {
    out << before.problem << "\n";
    status = exitFileProblem;
  } else {
    out << i18n::say(before.bytes ? "dialogue.heading" : "dialogue.heading_new", {{"file", name}})
        << "\n";
    const std::optional<KeyCodes> codes = keysToSave(check::checkSettingsFile(file), next, out);
    const bool any = codes && std::any_of(codes->begin(), codes->end(),
                                          [](const auto& c) { return c.has_value(); });
    if (any) {
      status = setKeys(file, *codes, out, out);
    } else {
      out << i18n::say(codes ? "dialogue.no_change" : "dialogue.nothing_saved") << "\n";
    }
  }
  waitForEnter(next, out);
  return status;
}

}  // namespace sashcaster::keys_tool
