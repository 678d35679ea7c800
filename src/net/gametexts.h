#pragma once

#include "match/gameevents.h"
#include "match/gametext.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

class QCoreApplication;
class QTranslator;

// The game speaks Portuguese, its source language, and English. The match engine and the
// connection handlers say what they have to say as text ids (match/gametext.h); this is the
// one table of their words, in Portuguese, which go through Qt's translation system where
// they are shown (the window, the headless opponent's lines). Chat, an argument, is never
// translated. What goes over the wire never changes with the language.
QString gameText(const Text& text);
QString gameText(TextId id);
// The Portuguese of a text, untranslated.
QString sourceText(TextId id);

// Where a listen or an attempt to connect failed and why, as one line: "127.0.0.1:4000 —
// ligação recusada", an IPv6 address in brackets ("[::1]:4000"), the system's own words for
// a reason the game does not name; empty for no failure.
QString failureLine(const ConnectionFailure& failure);
// A failure's text (ListenFailedText, ConnectFailedText) with that line under it.
QString failureMessage(TextId text, const ConnectionFailure& failure);

// The languages the game ships, the first the source language.
enum class Language { Portuguese, English };

// "pt" or "en"; none for anything else.
std::optional<Language> languageFromName(const QString& name);
// The language a command line asks for, last, with "--language pt|en" or "--language=pt|en",
// found before the rest is read so that the program's help and its complaints about the
// rest come in that language; none when not asked for or not one of ours.
std::optional<Language> languageInArguments(const QStringList& arguments);
// English for a desktop whose first language is English, Portuguese for any other,
// including the C locale.
Language desktopLanguage();
// Installs the translation into the application: the translator, which the application
// owns, or nullptr when it could not be loaded (the game then speaks Portuguese). Portuguese
// has one too, for the few texts Qt itself makes in a command line's help and complaints.
QTranslator* installLanguage(QCoreApplication& application, Language language);
