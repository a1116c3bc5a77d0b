// kordelc: counts source lines from the command line.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/kordelc.h"
#include "outputs/terminal_stream.h"
#include "platform/os.h"
#include "platform/system.h"

namespace {

using namespace kordel::cli;
using kordel::outputs::TerminalStreamBuf;
using kordel::platform::StdStream;

// The width of the terminal behind the stream in columns; COLUMNS or 80 when it cannot be asked.
std::size_t TerminalWidth(StdStream stream) {
    if (const std::size_t columns = kordel::platform::TerminalColumns(stream); columns > 0) return columns;
    if (const std::optional<std::string> columns = kordel::platform::Environment("COLUMNS")) {
        char* end = nullptr;
        const long value = std::strtol(columns->c_str(), &end, 10);
        if (end != columns->c_str() && *end == '\0' && value > 0 && value < 10000) return static_cast<std::size_t>(value);
    }
    return 80;
}

// Sends a standard stream that goes to a Windows console through a buffer that writes UTF-16 to it;
// files and pipes, and every POSIX terminal, get the UTF-8 bytes as they are.
class ConsoleText {
public:
    ConsoleText(std::ostream& stream, StdStream which, bool isTerminal) : m_stream(stream) {
        if (!kordel::platform::kWindows || !isTerminal) return;
        m_buffer.emplace([which](std::string_view text) { return kordel::platform::WriteToTerminal(which, text); });
        m_previous = m_stream.rdbuf(&*m_buffer);
    }
    ~ConsoleText() {
        if (!m_buffer) return;
        m_stream.flush();
        m_stream.rdbuf(m_previous);
    }
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;

private:
    std::ostream& m_stream;
    std::optional<TerminalStreamBuf> m_buffer;
    std::streambuf* m_previous = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    // Nothing may end the program through std::terminate: an unexpected failure is reported and
    // gives the usage-error status, like any other run that could not be done.
    try {
        // The arguments as UTF-8, whatever the system's code page.
        std::vector<std::string> arguments = kordel::platform::CommandLineArguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) pointers.push_back(argument.data());
        pointers.push_back(nullptr);

        Console console;
        console.in = &std::cin;
        console.outIsTerminal = kordel::platform::IsTerminal(StdStream::Out);
        console.errIsTerminal = kordel::platform::IsTerminal(StdStream::Err);
        if (console.outIsTerminal) console.outWidth = TerminalWidth(StdStream::Out);
        if (console.errIsTerminal) console.errWidth = TerminalWidth(StdStream::Err);
        const ConsoleText out(std::cout, StdStream::Out, console.outIsTerminal);
        const ConsoleText err(std::cerr, StdStream::Err, console.errIsTerminal);
        return Run(static_cast<int>(arguments.size()), pointers.data(), std::cout, std::cerr, console);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "\nkordelc: stopped by an unexpected error: " << e.what() << '\n';
    } catch (...) {
        std::cout.flush();
        std::cerr << "\nkordelc: stopped by an unexpected error\n";
    }
    return 2;
}
