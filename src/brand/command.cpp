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
    "       kestrelune-brand --version | --help\n"
    "Writes OUTPUT.exe: the launcher with the icon and version record given; fields not given keep\n"
    "the launcher's values, and OriginalFilename and InternalName follow OUTPUT's name. An option's\n"
    "value follows it or is joined to it by '=' (--version=2.1). OUTPUT must be a regular file or\n"
    "not exist; a symbolic link is followed, and the file it names is replaced, the link kept.\n";

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
    if (arguments[i].size() < 2 || arguments[i].compare(0, 2, "--") != 0) {
      files.push_back(arguments[i]);
      continue;
    }
    // --option=value or --option value
    size_t equals = arguments[i].find('=');
    std::string option = arguments[i].substr(0, equals), value;
    if (equals != std::string::npos) {
      value = arguments[i].substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      throw UsageError{option + " needs a value"};
    }
    try {
      auto text = kTextOptions.find(option);
      if (text != kTextOptions.end()) {
        request.branding.strings.push_back({text->second, utf16FromUtf8(value)});
      } else if (option == "--version") {
        request.branding.version = parseVersion(value);
      } else if (option == "--icon") {
        if (value.empty()) throw UsageError{"--icon needs a value"};  // no file has an empty name
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
  // What the output is, before anything is read or written: only a regular file is replaced.
  std::string target = about(request.output, [&] { return outputFile(request.output); });
  if (!request.icon.empty()) {
    branding.icon = about(request.icon, [&] { return readIconFile(readWholeFile(request.icon)); });
  }
  branding.outputName = about(request.output, [&] { return utf16FromUtf8(fileNameOf(request.output)); });
  Bytes branded = about(request.input, [&] { return brandLauncher(readWholeFile(request.input), branding); });
  about(request.output, [&] { replaceFile(target, branded); });
}

}  // namespace

int runBrandCommand(const std::vector<std::string>& arguments, std::string& message) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    message = kUsage;
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    message = "kestrelune-brand " + markerVersion() + "\n";
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
