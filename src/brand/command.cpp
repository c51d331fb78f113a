#include "brand/command.h"

#include <map>

#include "brand/branding.h"
#include "brand/host.h"
#include "brand/ico_file.h"
#include "brand/utf16.h"

namespace {

const char kUsage[] =
    "usage: kestrelune-brand [--icon FILE.ico] [--description TEXT] [--product TEXT] [--company TEXT]\n"
    "                        [--copyright TEXT] [--version A[.B[.C[.D]]]] LAUNCHER.exe OUTPUT.exe\n"
    "Writes OUTPUT.exe: the launcher with the icon and version record given; fields not given keep\n"
    "the launcher's values, and OriginalFilename and InternalName follow OUTPUT's name.\n";

// Each text option and the version-record key it sets.
const std::map<std::string, std::u16string> kTextOptions = {
    {"--description", u"FileDescription"},
    {"--product", u"ProductName"},
    {"--company", u"CompanyName"},
    {"--copyright", u"LegalCopyright"},
};

struct Request {
  std::string icon, input, output;
  Branding branding;
};

struct UsageError {
  std::string reason;
};

// Reads the options; a bad value throws BrandError naming the option as its file.
Request parseArguments(const std::vector<std::string>& arguments) {
  Request request;
  std::vector<std::string> files;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option.size() < 2 || option.compare(0, 2, "--") != 0) {
      files.push_back(option);
      continue;
    }
    if (i + 1 == arguments.size()) throw UsageError{option + " needs a value"};
    const std::string& value = arguments[++i];
    try {
      auto text = kTextOptions.find(option);
      if (text != kTextOptions.end()) {
        request.branding.strings.push_back({text->second, utf16FromUtf8(value)});
      } else if (option == "--version") {
        request.branding.version = parseVersion(value);
      } else if (option == "--icon") {
        request.icon = value;
      } else {
        throw UsageError{"unknown option " + option};
      }
    } catch (BrandError& error) {
      error.file = option;
      throw;
    }
  }
  if (files.size() != 2) throw UsageError{"expected the launcher and the output, got " + std::to_string(files.size()) + " names"};
  request.input = files[0];
  request.output = files[1];
  return request;
}

// Runs `step`, naming `file` in whatever it refuses.
template <typename Step>
auto about(const std::string& file, Step step) {
  try {
    return step();
  } catch (BrandError& error) {
    if (error.file.empty()) error.file = file;
    throw;
  }
}

void run(const std::vector<std::string>& arguments) {
  Request request = parseArguments(arguments);
  Branding& branding = request.branding;
  if (!request.icon.empty()) {
    branding.icon = about(request.icon, [&] { return readIconFile(readWholeFile(request.icon)); });
  }
  branding.outputName = about(request.output, [&] { return utf16FromUtf8(fileNameOf(request.output)); });
  Bytes branded = about(request.input, [&] { return brandLauncher(readWholeFile(request.input), branding); });
  about(request.output, [&] { replaceFile(request.output, branded); });
}

}  // namespace

int runBrandCommand(const std::vector<std::string>& arguments, std::string& message) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    message = kUsage;
    return 0;
  }
  try {
    run(arguments);
    return 0;
  } catch (const UsageError& error) {
    message = "error: " + error.reason + "\n" + kUsage;
    return 2;
  } catch (const BrandError& error) {
    // A signed file's reason reads as a sentence about the file: "tool.exe is signed; ...".
    std::string reason = error.what();
    message = "error: " + error.file + (reason.compare(0, 3, "is ") == 0 ? " " : ": ") + reason + "\n";
    return 1;
  } catch (const std::bad_alloc&) {
    message = "error: out of memory\n";
    return 1;
  }
}
