#include "dialogs/help_texts.h"

#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/user_dialogs.h"

namespace quandel {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

constexpr const char *kCrLf = "\r\n";

} // namespace

std::string VersionText(int major, int minor, int revision) {
    return "Version " + DecimalText(major) + "." + DecimalText(minor) + "." + DecimalText(revision);
}

std::string AboutCaption() {
    return std::string("Info zu ") + kAppTitle;
}

std::string AboutDescription() {
    return "Softwaretool zum Lesen und Schreiben von Parametern in den Velnor.";
}

std::string AboutDisclaimer() {
    return Cp1252("Achtung: Das Programmieren ins EEPROM überschreibt das im Gerät "
                  "gespeicherte Programm. Lesen Sie es vorher aus und sichern Sie es.");
}

std::string OverviewText() {
    std::string text = Cp1252("    Kurze Übersicht Quandel   ");
    text += kCrLf;
    text += kCrLf;
    text += Cp1252("Die Software stellt ein Terminalprogramm und einen einfachen Editor zur "
                   "Verfügung, mit dem BASIC-Programme für KAVOLT-Geräte entwickelt und "
                   "getestet werden können.");
    text += kCrLf;
    text += kCrLf;
    // "Downlaod" is how the program has always spelled it here.
    text += Cp1252("Es gibt zwei Hauptfunktionen, den Downlaod dieser Programme in die "
                   "Zielgeräte und das Testen der Programme.  ");
    text += kCrLf;
    text += kCrLf;
    text += Cp1252("Der Anschluss erfolgt über die Com-Schnittstelle eines PCs.");
    text += kCrLf;
    text += Cp1252("Im Menü 'COM-Anschluss' werden die Einstellungen angepasst. Bitte "
                   "überprüfen Sie die Schnittstelle, wenn keine Verbindung möglich sein "
                   "sollte. ");
    text += kCrLf;
    text += kCrLf;
    text += Cp1252("'Download' ruft das Terminalprogramm zum Laden des Ablaufprogrammes auf. "
                   "Der Download kann auch über die Navigationsfenster links gestartet "
                   "werden.");
    return text;
}

void ShowOverview(UserDialogs &dialogs) {
    dialogs.MessageBox(OverviewText(), kAppTitle, BoxIcon::None, BoxButtons::Ok);
}

std::string ManualPath(const std::string &exeFolder) {
    std::string path = exeFolder;
    // A root folder ("C:\", "/") already ends with the separator.
    if (path.empty() || path.back() != kSeparator)
        path += kSeparator;
    return path + "Veno-Help" + kSeparator + "index.html";
}

std::string ManualMissingText(const std::vector<std::string> &searched) {
    std::string text = Cp1252("Das BASIC-Manual wurde nicht gefunden:");
    for (const std::string &path : searched)
        text += "\r" + path;
    return text;
}

std::string ManualNotOpenedText(const std::string &path) {
    return Cp1252("Das BASIC-Manual konnte nicht geöffnet werden:") + "\r" + path + "\r\r" +
           Cp1252("Es ist kein Webbrowser eingerichtet, der die Seite anzeigt. Installieren Sie "
                  "einen Webbrowser (unter Debian zum Beispiel mit "
                  "„sudo apt-get install firefox-esr xdg-utils“) oder öffnen Sie die Datei oben "
                  "selbst "
                  "in einem Browser.");
}

} // namespace quandel
