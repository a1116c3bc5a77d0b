// kordelc: counts source lines from the command line.
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/kordelc.h"
#include "cli/platform.h"
#include "outputs/terminal_stream.h"
#include "platform/os.h"

namespace {

using namespace kordel::cli;
using kordel::outputs::TerminalStreamBuf;

// Sends a standard stream that goes to a Windows console through a buffer that writes UTF-16 to it;
// files and pipes, and every POSIX terminal, get the UTF-8 bytes as they are.
class ConsoleText {
public:
    ConsoleText(std::ostream& stream, StdStream which, bool isTerminal) : m_stream(stream) {
        if (!kordel::platform::kWindows || !isTerminal) return;
        m_buffer.emplace([which](std::string_view text) { return WriteToTerminal(which, text); });
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
        std::vector<std::string> arguments = CommandLineArguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) pointers.push_back(argument.data());
        pointers.push_back(nullptr);

        Console console;
        console.in = &std::cin;
        console.outIsTerminal = IsTerminal(StdStream::Out);
        console.errIsTerminal = IsTerminal(StdStream::Err);
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
