#include "serial/open_failure.h"

#include <cctype>

#include "ports/platform_port.h"

namespace tv {

namespace {

// The variable that maps a "comN" name; a generic one for a path.
std::string mappingVariable(const std::string& portname) {
    std::string digits;
    if (portname.size() > 3) digits = portname.substr(3);
    const bool com = portname.size() > 3 &&
                     std::tolower(static_cast<unsigned char>(portname[0])) == 'c' &&
                     std::tolower(static_cast<unsigned char>(portname[1])) == 'o' &&
                     std::tolower(static_cast<unsigned char>(portname[2])) == 'm';
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return "TVCONFIG_COMn";
    }
    return com ? "TVCONFIG_COM" + digits : "TVCONFIG_COMn";
}

std::string reasonText(const std::string& portname, const SerialError& error, OpenRetry retry) {
    using Kind = SerialError::Kind;
    const std::string again =
        retry == OpenRetry::OpenButton ? "press \"Open\"" : "run the command again";
    const std::string pointAtUnit = "Point " + mappingVariable(portname) +
                                    " at the unit's device, for example " + unitDeviceHint() +
                                    ", then " + again + ".";
    switch (error.kind) {
        case Kind::NotFound:
            return "no such device. " + pointAtUnit;
        case Kind::NotSerial:
            return "not a serial port: " + error.message + ". " + pointAtUnit;
        case Kind::Denied:
            return "permission denied. Ask for membership of the device's group (dialout on "
                   "Debian: sudo adduser $USER dialout), log in again, then " +
                   again + ".";
        case Kind::Busy:
            return "busy: another program holds it. Close that program, then " + again + ".";
        case Kind::Refused:
            return "the device refused the line settings. Check that it is a serial port that "
                   "runs at the chosen bit rate.";
        case Kind::HungUp:
            return "the line is not there (hung up). Check the cable or adapter, then " + again +
                   ".";
        default:
            break;
    }
    std::string text = error.message.empty() ? std::string("an unknown error") : error.message;
    return text + ". Check the device, then " + again + ".";
}

}  // namespace

std::string openFailureReason(const std::string& portname, const SerialError& error,
                              OpenRetry retry) {
    if (error.device.empty()) {
        const char* choose = retry == OpenRetry::OpenButton
                                 ? "Choose a port from the list on the ComPort page"
                                 : "Give a port from com1 to com12";
        return "Port \"" + portname + "\" names no device. " + choose + ", or give a device path.";
    }
    return "Port \"" + portname + "\" (" + error.device +
           ") did not open: " + reasonText(portname, error, retry);
}

}  // namespace tv
