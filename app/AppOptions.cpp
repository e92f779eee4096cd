#include "app/AppOptions.h"

#include <QCommandLineParser>

#include "platform/DeviceFacts.h"
#include "service/ServiceSettings.h"
#include "ui/PhoneWindow.h"

bool AppOptions::Parse(const QStringList& arguments, std::string& error) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Tessary, the photo-blogging client");
  parser.addHelpOption();
  const QCommandLineOption rootOption("device-root", "Folder that holds the device's files.", "folder");
  const QCommandLineOption serviceOption("service", "Service host as HOST[:PORT].", "host");
  const QCommandLineOption screenOption("screen", "Screen as WxH@DPI, e.g. 240x320@96.", "screen");
  const QCommandLineOption osOption("os-version", "OS major version the device reports.", "number");
  const QCommandLineOption zoomOption("zoom", "Magnify the window 1 to 4 times.", "n", "1");
  parser.addOptions({rootOption, serviceOption, screenOption, osOption, zoomOption});
  if (!parser.parse(arguments)) {
    error = parser.errorText().toStdString();
    return false;
  }
  if (parser.isSet("help")) {
    error = parser.helpText().toStdString();
    return false;
  }
  deviceRoot = parser.value(rootOption).toStdString();
  service = parser.value(serviceOption).toStdString();
  screen = parser.value(screenOption).toStdString();
  osVersion = parser.value(osOption).toStdString();
  bool ok = false;
  zoom = parser.value(zoomOption).toInt(&ok);
  if (!ok || zoom < ui::PhoneWindow::kMinZoom || zoom > ui::PhoneWindow::kMaxZoom) {
    error = "--zoom must be a number from 1 to 4";
    return false;
  }
  return true;
}

bool AppOptions::ApplySettings(std::string& error) const {
  auto& facts = platform::DeviceFacts::Current();
  facts.ApplyEnvironment();
  if (!osVersion.empty()) {
    bool ok = false;
    const uint32_t major = QString::fromStdString(osVersion).toUInt(&ok);
    if (!ok || major > 100) {
      error = "--os-version must be a number";
      return false;
    }
    facts.osMajorVersion = major;
  }
  if (!screen.empty() && !facts.ParseScreen(screen)) {
    error = "--screen must look like 240x320@96";
    return false;
  }
  service::ServiceSettings& settings = service::ServiceSettings::Current();
  if (!settings.ApplyEnvironment()) {
    error = "TESSARY_SERVICE must look like HOST or HOST:PORT";
    return false;
  }
  if (!service.empty() && !settings.Parse(service)) {
    error = "--service must look like HOST or HOST:PORT";
    return false;
  }
  return true;
}
