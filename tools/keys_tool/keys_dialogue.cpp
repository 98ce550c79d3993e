#include "keys_tool/keys_dialogue.h"

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
  return code >= 255 ? "off" : keys::describeKey(code) + " (" + std::to_string(code) + ")";
}

void showKeys(const Settings& keys, std::ostream& out) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    std::string label = settingLabel(index) + ":";
    label.resize(std::max<std::size_t>(label.size(), 24), ' ');
    out << "  " << label << keyText(keys.*settingsKeys[index].field) << "\n";
  }
}

// The settings check's findings about keys that keep a throw from happening.
void showClashes(const Settings& keys, std::ostream& out) {
  check::Report report;
  report.loaded = keys;
  check::checkKeyClashes(report);
  for (const check::Remark& clash : report.findings) {
    out << "Clash: " << clash.text << "\n";
  }
}

// A key without a name: the settings check would call its code a mistake.
std::string unnamed(std::uint32_t code) {
  return "That key sends the code " + std::to_string(code) +
         ", which is not in the table of keys the settings check knows, so it cannot be set "
         "here.";
}

enum class Answer : std::uint8_t { Chosen, Leave };

// One key asked for until the player presses one that the plug-in can use.
Answer askForKey(std::size_t index, std::uint32_t& code, const KeyPresses& next,
                 std::ostream& out) {
  out << "Press " << settingLabel(index) << " (now " << keyText(code) << "): " << std::flush;
  for (;;) {
    const std::optional<std::uint32_t> pressed = next();
    if (!pressed || *pressed == leaveKey) {
      out << "Esc\n";
      return Answer::Leave;
    }
    if (*pressed == keepKey) {
      out << "kept\n";
      return Answer::Chosen;
    }
    const std::uint32_t chosen = *pressed == offKey ? offCode : *pressed;
    if (const std::optional<std::string> problem = unusableKey(chosen)) {
      out << "\n  " << (keys::keyName(chosen) ? *problem : unnamed(chosen))
          << " Press another key: " << std::flush;
      continue;
    }
    code = chosen;
    out << keyText(code) << "\n";
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

}  // namespace

std::optional<KeyCodes> askForKeys(const Settings& now, const KeyPresses& next, std::ostream& out) {
  showKeys(now, out);
  out << "\nPress the new key for each in turn. Enter keeps the key, Delete switches that "
         "throw off, Esc leaves without saving.\n";
  Settings chosen = now;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (askForKey(index, chosen.*settingsKeys[index].field, next, out) == Answer::Leave) {
      return std::nullopt;
    }
  }
  out << "\nThe new keys:\n";
  showKeys(chosen, out);
  showClashes(chosen, out);
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
    const std::optional<KeyCodes> codes =
        askForKeys(check::checkSettingsFile(file).loaded, next, out);
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
