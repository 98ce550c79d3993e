#include "i18n/system_language.h"

#include <cstdlib>
#include <string>

#include "i18n/languages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace sashcaster::i18n {

#ifdef _WIN32

namespace {

std::string narrowed(const wchar_t* name) {
  std::string out;
  for (; *name != L'\0'; ++name) {
    out += *name < 0x80 ? static_cast<char>(*name) : '?';  // tags are ASCII
  }
  return out;
}

// The first of the user's display languages, as "ru-RU"; the language of
// GetUserDefaultUILanguage where that list is not to be had.
std::string displayLanguageName() {
  ULONG count = 0;
  ULONG size = 0;
  if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) != 0 && size > 1) {
    std::wstring names(size, L'\0');
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size) != 0 &&
        names[0] != L'\0') {
      return narrowed(names.c_str());
    }
  }
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  return LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) > 0 ? narrowed(name) : "";
}

}  // namespace

std::string_view systemLanguage() {
  return languageOfTag(displayLanguageName()).value_or(english);
}

#else

std::string_view systemLanguage() {
  // POSIX: LC_ALL overrides LC_MESSAGES, which overrides LANG; the first one
  // set decides, even for a language these programs do not speak.
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);  // NOLINT(concurrency-mt-unsafe): read at start
    if (value != nullptr && *value != '\0') {
      return languageOfTag(value).value_or(english);
    }
  }
  return english;
}

#endif

}  // namespace sashcaster::i18n
