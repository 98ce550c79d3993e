#include "keys_tool/keys_dialogue.h"

#include <algorithm>
#include <string>

#include "check/report.h"
#include "config/settings_keys.h"
#include "keys/key_names.h"
#include "keys_tool/key_choice.h"
#include "keys_tool/keys_command.h"
#include "keys_tool/settings_write.h"

namespace sashcaster::keys_tool {

namespace {

std::string keyText(std::uint32_t code) {
  return keys::describeKey(code) + " (" + keys::writtenCode(code) + ")";
}

void showKeys(const Settings& keys, std::ostream& out) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    std::string label = settingLabel(index) + ":";
    label.resize(std::max<std::size_t>(label.size(), 24), ' ');
    out << "  " << label << keyText(keys.*settingsKeys[index].field) << "\n";
  }
}

// A key without a name: the settings check would call its code a mistake.
std::string unnamed(std::uint32_t code) {
  return "That key sends the code " + std::to_string(code) +
         ", which is not in the table of keys the settings check knows, so it cannot be set "
         "here.";
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
    return (keys::keyName(code) ? *problem : unnamed(code)) + " Press another key:";
  }
  const std::optional<std::size_t> other = heldBy(keys, index, code);
  if (!other) {
    return std::nullopt;
  }
  const std::uint32_t now = keys.*settingsKeys[index].field;
  const bool canKeep = !kept && !unusableKey(now) && !heldBy(keys, index, now);
  return keyText(code) + " is already " + settingLabel(*other) + ": press another key" +
         (canKeep ? ", or Enter to keep " + keyText(now) : "") + ":";
}

// One key asked for until the player presses one that the plug-in can use
// and that no other throw has.
Answer askForKey(std::size_t index, Settings& keys, const KeyPresses& next, std::ostream& out) {
  std::uint32_t& code = keys.*settingsKeys[index].field;
  out << "Press " << settingLabel(index) << " (now " << keyText(code) << "): " << std::flush;
  for (;;) {
    const std::optional<std::uint32_t> pressed = next();
    if (!pressed || *pressed == leaveKey) {
      out << "Esc\n";
      return Answer::Leave;
    }
    const bool kept = *pressed == keepKey;
    const std::uint32_t chosen = kept ? code : *pressed == offKey ? offCode : *pressed;
    if (const std::optional<std::string> why = refusal(keys, index, chosen, kept)) {
      out << "\n  " << *why << " " << std::flush;
      continue;
    }
    out << (kept ? "kept" : keyText(chosen)) << "\n";
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
  out << "Press Enter to close this window." << std::endl;
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
  out << "\nPress the new key for each in turn. Enter keeps the key, Delete switches that "
         "throw off, Esc leaves without saving.\n";
  Settings chosen = now;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (askForKey(index, chosen, next, out) == Answer::Leave) {
      return std::nullopt;
    }
  }
  out << "\nThe new keys:\n";
  showKeys(chosen, out);
  out << "Save them? Enter saves, Esc leaves without saving. " << std::flush;
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
    out << "Keys of the Sashcaster plug-in, as it reads them from " << name
        << (before.bytes ? "" : " (not there yet: saving writes the shipped file with your keys)")
        << ":\n";
    const std::optional<KeyCodes> codes = keysToSave(check::checkSettingsFile(file), next, out);
    const bool any = codes && std::any_of(codes->begin(), codes->end(),
                                          [](const auto& c) { return c.has_value(); });
    if (any) {
      status = setKeys(file, *codes, out, out);
    } else {
      out << (codes ? "No key changed, so nothing was saved.\n" : "Nothing was saved.\n");
    }
  }
  waitForEnter(next, out);
  return status;
}

}  // namespace sashcaster::keys_tool
