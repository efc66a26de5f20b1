#include "scenario.h"

#include "tokens.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr std::size_t any = static_cast<std::size_t>(-1);

#if defined(_WIN32)
constexpr const char* moduleSuffix = ".dll";
#else
constexpr const char* moduleSuffix = ".so";
#endif

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool isAbsolute(const std::string& path) {
    return !path.empty() &&
           (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
}

std::string rangesText(const std::vector<DestinationRange>& ranges) {
    std::string text;
    for (const DestinationRange& range : ranges) {
        text += (text.empty() ? "" : ",") + std::to_string(range.first) + "-" +
                std::to_string(range.last);
    }
    return text;
}

// The line with each run of blanks made one blank, for the transcript.
std::string collapsedBlanks(const std::string& line) {
    std::string text;
    for (char c : line) {
        const bool blank = c == ' ' || c == '\t' || c == '\r';
        if (!blank) {
            text += c;
        } else if (!text.empty() && text.back() != ' ') {
            text += ' ';
        }
    }
    if (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n    " + line;
    }
    return text.empty() ? " (nothing)" : text;
}

} // namespace

const ScenarioRunner::Action ScenarioRunner::actions[] = {
    {"module", true, 3, 3, "module <name> <path>",
     "load a component module (\"ry_dest.so\"; without an extension the platform's is added)",
     &ScenarioRunner::module},
    {"router", false, 2, 9,
     "router <device> [<name>] [videohub <host>:<port> | swp08 <host>:<port> [matrix <m> level "
     "<l>]]",
     "a router device of the studio; with a link, a real router's, read whole before the run "
     "goes on",
     &ScenarioRunner::router},
    {"source", false, 4, 4, "source <device> <source> <name>",
     "the name of one of its sources; destinations routed to it hear of it",
     &ScenarioRunner::source},
    {"route", true, 4, 4, "route <device> <destination> <source>",
     "a crosspoint change, heard by every instance registered for the destination; on a linked "
     "router a take, done when the router confirms it",
     &ScenarioRunner::route},
    {"entry", false, 5, 5, "entry <device> <database> <index> <text>",
     "a database entry, read with \"RN\"", &ScenarioRunner::entry},
    {"place", true, 3, any, "place <instance> <module> [group <g>] [path <p>] [<key>=<value> ...]",
     "place an instance (its path defaults to the module's folder) and send it each property",
     &ScenarioRunner::place},
    {"send", true, 3, 3, "send <instance> <text>", "a parent command; its reply is printed",
     &ScenarioRunner::send},
    {"query", true, 3, 3, "query <instance> <what>", "sends \"return=<what>\" and prints the reply",
     &ScenarioRunner::query},
    {"broadcast", true, 3, 3, "broadcast <group> <text>",
     "a parent command to every button of a group", &ScenarioRunner::broadcast},
    {"press", true, 2, 3, "press <instance> [<control>]",
     "the operator presses a control (\"Button\" unless named): \"button=pressed\"",
     &ScenarioRunner::press},
    {"release", true, 2, 3, "release <instance> [<control>]",
     "the operator releases it: \"button=released\"", &ScenarioRunner::release},
    {"event", true, 4, 4, "event <instance> <control> <text>", "any other control event",
     &ScenarioRunner::event},
    {"timer", true, 3, 3, "timer <instance> <id>", "start a timer for the instance",
     &ScenarioRunner::timer},
    {"tick", true, 1, 2, "tick [<rounds>]",
     "deliver rounds of ticks (1 unless given, 1000000 at the most; stops when no timer runs)",
     &ScenarioRunner::tick},
    {"destroy", true, 2, 2, "destroy <instance>", "destroy the instance's component",
     &ScenarioRunner::destroy},
    {"show", true, 1, 1, "show", "print the panel view", &ScenarioRunner::show},
    {"expect", false, 2, any, "expect <what> ...", "check the studio (the forms below)",
     &ScenarioRunner::expect},
    {"await", true, 2, any, "await <what> ... [<ms>]",
     "check as expect does, waiting up to <ms> (5000 unless given) while linked routers "
     "deliver; the forms that take any number of words wait 5000",
     &ScenarioRunner::await},
};

const ScenarioRunner::ExpectForm ScenarioRunner::expectForms[] = {
    {"property", 6, 6, true, "expect property <instance> <control> <property> <value>",
     "a property of one of the instance's controls", &ScenarioRunner::expectProperty},
    {"reply", 3, 3, false, "expect reply <text>",
     "the reply of the last send or query (\"\" for none)", &ScenarioRunner::expectReply},
    {"sent", 4, 4, true, "expect sent <instance> <command>",
     "the instance sent this command in the last action", &ScenarioRunner::expectSent},
    {"not-sent", 4, 4, true, "expect not-sent <instance> <command>", "... and this one it did not",
     &ScenarioRunner::expectSent},
    {"stream", 3, any, true, "expect stream <instance> [<command> ...]",
     "exactly these commands, in this order, were what the instance sent in the last action",
     &ScenarioRunner::expectStream},
    {"called", 2, any, false, "expect called [<instance> ...]",
     "exactly these instances were called by the host in the last action, in the order it "
     "first called each",
     &ScenarioRunner::expectCalled},
    {"registered", 5, 5, true, "expect registered <instance> <device> <ranges>",
     "its registrations on the device, such as \"33-33,40-41\", or \"\"",
     &ScenarioRunner::expectRegistered},
    {"timer", 5, 5, true, "expect timer <instance> <id> running|stopped",
     "whether the instance's timer runs", &ScenarioRunner::expectTimer},
    {"link", 4, 4, false, "expect link <device> up|away|connecting",
     "where the link of a linked router is", &ScenarioRunner::expectLink},
};

std::string scenarioActionReference() {
    std::string text;
    const auto line = [&text](const char* usage, const char* description) {
        const std::string left = std::string("  ") + usage;
        text += left + "\n      " + description + "\n";
    };
    for (const ScenarioRunner::Action& action : ScenarioRunner::actions) {
        line(action.usage, action.description);
    }
    for (const ScenarioRunner::ExpectForm& form : ScenarioRunner::expectForms) {
        line(form.usage, form.description);
    }
    return text;
}

ScenarioRunner::ScenarioRunner(Studio& studio, Transcript& transcript, ScenarioSettings settings)
    : studio_(studio), transcript_(transcript), variables_(settings.variables),
      settings_(std::move(settings)) {}

ScenarioRunner::~ScenarioRunner() {
    if (links_ != nullptr) {
        links_->stop();
        studio_.useLinks(nullptr);
    }
}

bool ScenarioRunner::run(const std::string& text, const std::string& name,
                         const std::string& folder) {
    folder_ = folder;
    variables_["scenario"] = folder;
    studio_.setFolder(folder);
    std::istringstream lines(text);
    std::string line;
    for (int number = 1, next = 1; std::getline(lines, line); number = ++next) {
        where_ = name + ":" + std::to_string(number);
        // A line that ends in a backslash goes on on the next line.
        std::string error;
        std::string part;
        while (!line.empty() && line.back() == '\\') {
            if (!std::getline(lines, part)) {
                error = "the last line ends in \\, but no line follows";
                break;
            }
            line.back() = ' ';
            line += part;
            ++next;
        }
        if (error.empty()) {
            error = runLine(line);
        }
        if (!error.empty()) {
            transcript_.failure(where_, "error: " + error);
            return false;
        }
        if (stopped_) {
            return true; // failed, and reported
        }
    }
    return true;
}

std::string ScenarioRunner::runLine(const std::string& line) {
    const Tokens tokens = tokenize(line);
    std::string error = tokens.error;
    Words words;
    for (const std::string& word : tokens.words) {
        if (!error.empty()) {
            break;
        }
        words.push_back(expand(word, error));
    }
    if (!error.empty() || words.empty()) {
        return error;
    }
    const auto action = std::find_if(std::begin(actions), std::end(actions),
                                     [&](const Action& a) { return words[0] == a.name; });
    if (action == std::end(actions)) {
        return "unknown action \"" + words[0] + "\"";
    }
    if (words.size() < action->minWords || words.size() > action->maxWords) {
        return "usage: " + std::string(action->usage);
    }
    if (action->echoed && transcript_.shows()) {
        transcript_.step(where_, collapsedBlanks(line));
    }
    // An expect looks at the last action; it is no action itself, nor is an await.
    if (action->run != &ScenarioRunner::expect && action->run != &ScenarioRunner::await) {
        studio_.beginAction();
    }
    error = (this->*action->run)(words);
    // What went wrong inside the components' calls fails the action too.
    const std::string inside = studio_.takeError();
    return error.empty() ? inside : error;
}

std::string ScenarioRunner::expand(const std::string& word, std::string& error) const {
    std::string out;
    std::size_t i = 0;
    while (i < word.size()) {
        const std::size_t start = word.find("${", i);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end = word.find('}', start);
        if (end == std::string::npos) {
            error = "the ${ in \"" + word + "\" is not closed";
            return word;
        }
        out += word.substr(i, start - i);
        const auto found = variables_.find(word.substr(start + 2, end - start - 2));
        if (found == variables_.end()) {
            error = "unknown variable " + word.substr(start, end - start + 1);
            return word;
        }
        out += found->second;
        i = end + 1;
    }
    return out + word.substr(i);
}

std::string ScenarioRunner::needInstance(const std::string& name) const {
    return studio_.view().placed(name) ? "" : "no instance \"" + name + "\" is placed";
}

std::string ScenarioRunner::number(const std::string& word, int& value) const {
    const std::optional<int> parsed = parseInt(word);
    if (!parsed) {
        return "\"" + word + "\" is not a number";
    }
    value = *parsed;
    return "";
}

std::string ScenarioRunner::count(const std::string& word, int least, const char* what,
                                  int& value) const {
    std::string error = number(word, value);
    if (error.empty() && value < least) {
        error =
            std::string(what) + " " + word + ": " + what + "s count from " + std::to_string(least);
    }
    return error;
}

std::string ScenarioRunner::module(const Words& w) {
    std::string path = isAbsolute(w[2]) ? w[2] : folder_ + "/" + w[2];
    const std::size_t slash = path.find_last_of("/\\");
    if (path.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) {
        path += moduleSuffix;
    }
    std::string error = settings_.moduleAt ? studio_.addModule(w[1], settings_.moduleAt(path))
                                           : studio_.loadModule(w[1], path);
    if (error.empty()) {
        modulePaths_[w[1]] = path;
    }
    return error;
}

std::string ScenarioRunner::router(const Words& w) {
    int device = 0;
    std::string error = count(w[1], 0, "device", device);
    if (!error.empty()) {
        return error;
    }
    // The name is optional: a protocol's word in its place begins the link.
    const auto isProtocol = [&](std::size_t at) {
        return at < w.size() && (w[at] == "videohub" || w[at] == "swp08");
    };
    const std::size_t at = isProtocol(2) ? 2 : 3;
    if (w.size() > at && !isProtocol(at)) {
        return actionUsage("router");
    }
    if (linked(device)) {
        return "router " + w[1] + " is linked to " + links_->describe(device) + " already";
    }
    studio_.defineRouter(device, at == 3 && w.size() > 2 ? w[2] : "router " + w[1]);
    return w.size() > at ? link(device, w, at) : "";
}

std::string ScenarioRunner::link(int device, const Words& w, std::size_t at) {
    RouterLinkSpec spec;
    spec.protocol = w[at];
    const std::string& address = at + 1 < w.size() ? w[at + 1] : "";
    const std::size_t colon = address.rfind(':');
    const std::optional<int> port =
        colon == std::string::npos ? std::nullopt : parseInt(address.substr(colon + 1));
    if (colon == 0 || !port || *port < 1 || *port > 65535) {
        return "a router link wants <host>:<port>, not \"" + address + "\"";
    }
    spec.host = address.substr(0, colon);
    spec.port = static_cast<unsigned short>(*port);
    const std::size_t rest = w.size() - (at + 2);
    if (rest != 0) {
        if (spec.protocol != "swp08" || rest != 4 || w[at + 2] != "matrix" ||
            w[at + 4] != "level") {
            return actionUsage("router");
        }
        std::string error = number(w[at + 3], spec.matrix);
        if (error.empty()) {
            error = number(w[at + 5], spec.level);
        }
        if (error.empty() &&
            (spec.matrix < 1 || spec.level < 1 || spec.matrix > 256 || spec.level > 256)) {
            error = "matrix " + w[at + 3] + " level " + w[at + 5] +
                    ": SW-P-08 matrices and levels count from 1 to 256";
        }
        if (!error.empty()) {
            return error;
        }
    }
    if (!settings_.routerLinks) {
        return "this zarn-host is built without router links";
    }
    if (links_ == nullptr) {
        links_ = settings_.routerLinks(studio_.linkEvents());
        studio_.useLinks(links_.get());
    }
    if (std::string error = links_->link(device, spec); !error.empty()) {
        return error;
    }
    // The link gives up its first try within its own time limits; this bound only keeps a
    // faulty link from holding the run for ever.
    links_->pump(std::chrono::minutes(1),
                 [&] { return links_->status(device).state != LinkStatus::State::Connecting; });
    const LinkStatus status = links_->status(device);
    if (status.state != LinkStatus::State::Up) {
        transcript_.failure(where_, "router " + w[1] + ": cannot link to " + spec.describe() +
                                        ": " + (status.why.empty() ? "no answer" : status.why) +
                                        "; the run stops");
        stopped_ = true;
    }
    return "";
}

std::string ScenarioRunner::source(const Words& w) {
    int device = 0;
    int source = 0;
    std::string error = count(w[1], 0, "device", device);
    if (error.empty()) {
        error = count(w[2], 1, "source", source);
    }
    if (error.empty() && !studio_.routers().defined(device)) {
        error = "no router " + w[1] + " is defined";
    }
    if (error.empty() && linked(device)) {
        error = "the source names of router " + w[1] + " are its router's";
    }
    if (error.empty()) {
        studio_.nameSource(device, source, w[3]);
    }
    return error;
}

std::string ScenarioRunner::route(const Words& w) {
    int device = 0;
    int destination = 0;
    int source = 0;
    std::string error = count(w[1], 0, "device", device);
    if (error.empty()) {
        error = count(w[2], 1, "destination", destination);
    }
    if (error.empty()) {
        error = count(w[3], 1, "source", source);
    }
    if (error.empty() && !studio_.routers().defined(device)) {
        error = "no router " + w[1] + " is defined";
    }
    if (!error.empty()) {
        return error;
    }
    const std::string take = "the take of destination " + w[2] + " <- source " + w[3];
    if (const std::string unsent = studio_.route(device, destination, source); !unsent.empty()) {
        expectation(false, take + " was not sent: " + unsent);
    } else if (linked(device)) {
        const bool confirmed = links_->pump(settings_.linkWait, [&] {
            return studio_.routers().routed(device, destination) == source;
        });
        expectation(confirmed, "router " + w[1] + " did not confirm " + take + " within " +
                                   std::to_string(settings_.linkWait.count()) + " ms");
    }
    return "";
}

std::string ScenarioRunner::entry(const Words& w) {
    int numbers[3] = {};
    const char* const names[3] = {"device", "database", "index"};
    for (int i = 0; i < 3; ++i) {
        std::string error = count(w[i + 1], 0, names[i], numbers[i]);
        if (!error.empty()) {
            return error;
        }
    }
    studio_.databases().set(numbers[0], numbers[1], numbers[2], w[4]);
    return "";
}

std::string ScenarioRunner::place(const Words& w) {
    std::string group;
    std::optional<std::string> path;
    std::vector<std::string> properties;
    for (std::size_t i = 3; i < w.size(); ++i) {
        if (w[i].find('=') != std::string::npos) {
            properties.push_back(w[i]);
        } else if (w[i] == "group" && i + 1 < w.size()) {
            group = w[++i];
        } else if (w[i] == "path" && i + 1 < w.size()) {
            path = w[++i];
        } else {
            return "\"" + w[i] + "\" is neither group <g>, path <p> nor <key>=<value>";
        }
    }
    const auto module = modulePaths_.find(w[2]);
    if (module == modulePaths_.end()) {
        return "no module is loaded as \"" + w[2] + "\"";
    }
    std::string error = studio_.place(w[1], w[2], path ? *path : folderOf(module->second), group);
    if (error.empty()) {
        error = studio_.takeError();
    }
    for (const std::string& property : properties) {
        if (!error.empty()) {
            break;
        }
        lastReply_ = studio_.send(w[1], property);
    }
    return error;
}

std::string ScenarioRunner::send(const Words& w) {
    std::string error = needInstance(w[1]);
    if (error.empty()) {
        lastReply_ = studio_.send(w[1], w[2]);
    }
    return error;
}

std::string ScenarioRunner::query(const Words& w) {
    return send({w[0], w[1], "return=" + w[2]});
}

std::string ScenarioRunner::broadcast(const Words& w) {
    if (!studio_.view().hasGroup(w[1])) {
        return "no group \"" + w[1] + "\"";
    }
    studio_.broadcast(w[1], w[2]);
    return "";
}

std::string ScenarioRunner::press(const Words& w) {
    return event({w[0], w[1], w.size() > 2 ? w[2] : "Button", "button=pressed"});
}

std::string ScenarioRunner::release(const Words& w) {
    return event({w[0], w[1], w.size() > 2 ? w[2] : "Button", "button=released"});
}

std::string ScenarioRunner::event(const Words& w) {
    std::string error = needInstance(w[1]);
    if (error.empty()) {
        studio_.controlEvent(w[1], w[2], w[3]);
    }
    return error;
}

std::string ScenarioRunner::timer(const Words& w) {
    int id = 0;
    std::string error = needInstance(w[1]);
    if (error.empty()) {
        error = count(w[2], 0, "timer", id);
    }
    if (error.empty()) {
        studio_.startTimer(w[1], id);
    }
    return error;
}

std::string ScenarioRunner::tick(const Words& w) {
    int rounds = 1;
    std::string error = w.size() > 1 ? number(w[1], rounds) : "";
    if (error.empty() && rounds < 0) {
        error = "a negative number of rounds";
    }
    if (error.empty() && rounds > settings_.maxTickRounds) {
        error = "tick " + w[1] + ": at most " + std::to_string(settings_.maxTickRounds) + " rounds";
    }
    if (error.empty()) {
        studio_.tick(rounds);
    }
    return error;
}

std::string ScenarioRunner::destroy(const Words& w) {
    std::string error = needInstance(w[1]);
    if (error.empty()) {
        studio_.destroy(w[1]);
    }
    return error;
}

std::string ScenarioRunner::show(const Words&) {
    transcript_.panel(studio_.view().panel());
    return "";
}

void ScenarioRunner::expectation(bool held, const std::string& what) {
    if (awaiting_) {
        awaited_ = held ? std::nullopt : std::optional<std::string>(what);
    } else if (!held) {
        transcript_.failure(where_, "expect failed: " + what);
    }
}

std::string ScenarioRunner::expectUsage() {
    std::string text = "usage: ";
    for (const ExpectForm& form : expectForms) {
        text += std::string(&form == expectForms ? "" : " | ") + form.usage;
    }
    return text;
}

std::string ScenarioRunner::actionUsage(const std::string& name) {
    const auto action = std::find_if(std::begin(actions), std::end(actions),
                                     [&](const Action& a) { return name == a.name; });
    return "usage: " + std::string(action->usage);
}

const ScenarioRunner::ExpectForm* ScenarioRunner::expectFormNamed(const std::string& kind) {
    const auto form = std::find_if(std::begin(expectForms), std::end(expectForms),
                                   [&](const ExpectForm& f) { return kind == f.kind; });
    return form != std::end(expectForms) ? form : nullptr;
}

std::string ScenarioRunner::expect(const Words& w) {
    const ExpectForm* form = expectFormNamed(w[1]);
    if (form == nullptr || w.size() < form->minWords || w.size() > form->maxWords) {
        return form == nullptr ? expectUsage() : "usage: " + std::string(form->usage);
    }
    if (form->aboutAnInstance) {
        // What an instance sent can be asked after the action that destroyed it.
        const bool aboutSending = form->check == &ScenarioRunner::expectSent ||
                                  form->check == &ScenarioRunner::expectStream;
        std::string error = aboutSending && studio_.view().known(w[2]) ? "" : needInstance(w[2]);
        if (!error.empty()) {
            return error;
        }
    }
    return (this->*form->check)(w);
}

std::string ScenarioRunner::await(const Words& w) {
    Words check = w;
    check[0] = "expect";
    const ExpectForm* form = expectFormNamed(w[1]);
    int wait = static_cast<int>(settings_.linkWait.count());
    if (form != nullptr && form->maxWords != any && w.size() == form->maxWords + 1) {
        std::string error = count(w.back(), 0, "wait", wait);
        if (!error.empty()) {
            return error;
        }
        check.pop_back();
    }
    awaiting_ = true;
    awaited_.reset();
    std::string error = expect(check);
    if (error.empty() && awaited_ && links_ != nullptr) {
        links_->pump(std::chrono::milliseconds(wait), [&] {
            expect(check);
            return !awaited_;
        });
    }
    awaiting_ = false;
    if (error.empty() && awaited_) {
        transcript_.failure(where_,
                            "await failed after " + std::to_string(wait) + " ms: " + *awaited_);
    }
    return error;
}

std::string ScenarioRunner::expectReply(const Words& w) {
    const std::string got = lastReply_.value_or("");
    expectation(got == w[2], "the reply is " + quoteWord(got) + ", not " + quoteWord(w[2]));
    return "";
}

std::string ScenarioRunner::expectProperty(const Words& w) {
    const Control* control = studio_.view().control(w[2], w[3]);
    const std::string* value = control != nullptr ? control->find(w[4]) : nullptr;
    expectation(value != nullptr && *value == w[5], w[2] + " " + w[3] + " " + w[4] + " is " +
                                                        (control == nullptr ? "on no panel"
                                                         : value == nullptr ? "not set"
                                                                            : quoteWord(*value)) +
                                                        ", not " + quoteWord(w[5]));
    return "";
}

std::string ScenarioRunner::expectSent(const Words& w) {
    const std::vector<std::string> sent = studio_.view().sentDuringAction(w[2]);
    const bool found = std::find(sent.begin(), sent.end(), w[3]) != sent.end();
    expectation(found == (w[1] == "sent"), w[2] + (found ? " sent " : " did not send ") +
                                               quoteWord(w[3]) + "; it sent:" + joinedLines(sent));
    return "";
}

std::string ScenarioRunner::expectStream(const Words& w) {
    const std::vector<std::string> sent = studio_.view().sentDuringAction(w[2]);
    const std::vector<std::string> expected(w.begin() + 3, w.end());
    expectation(sent == expected,
                w[2] + " sent:" + joinedLines(sent) + "\n  not:" + joinedLines(expected));
    return "";
}

std::string ScenarioRunner::expectCalled(const Words& w) {
    const std::vector<std::string> called = studio_.view().calledDuringAction();
    const std::vector<std::string> expected(w.begin() + 2, w.end());
    const auto listed = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names) {
            text += " " + quoteWord(name);
        }
        return text.empty() ? std::string(" (none)") : text;
    };
    expectation(called == expected,
                "the host called" + listed(called) + ", not" + listed(expected));
    return "";
}

std::string ScenarioRunner::expectRegistered(const Words& w) {
    int device = 0;
    std::string error = number(w[3], device);
    if (error.empty()) {
        const std::string got = rangesText(studio_.view().registrations(w[2], device));
        expectation(got == w[4], w[2] + " is registered on device " + w[3] + " for " +
                                     quoteWord(got) + ", not " + quoteWord(w[4]));
    }
    return error;
}

std::string ScenarioRunner::expectTimer(const Words& w) {
    if (w[4] != "running" && w[4] != "stopped") {
        return "usage: " + std::string(expectFormNamed(w[1])->usage);
    }
    int id = 0;
    std::string error = number(w[3], id);
    if (error.empty()) {
        const bool running = studio_.view().timerRunning(w[2], id);
        expectation(running == (w[4] == "running"),
                    "timer " + w[3] + " of " + w[2] + " is " + (running ? "running" : "stopped"));
    }
    return error;
}

std::string ScenarioRunner::expectLink(const Words& w) {
    static const char* const states[] = {"", "connecting", "up", "away"};
    const auto state = std::find(std::begin(states) + 1, std::end(states), w[3]);
    int device = 0;
    std::string error = state == std::end(states)
                            ? "usage: " + std::string(expectFormNamed(w[1])->usage)
                            : count(w[2], 0, "device", device);
    if (error.empty() && !linked(device)) {
        error = "router " + w[2] + " has no link";
    }
    if (error.empty()) {
        const LinkStatus status = links_->status(device);
        expectation(states[static_cast<int>(status.state)] == *state,
                    "the link of router " + w[2] + " is " + status.text() + ", not " + w[3]);
    }
    return error;
}

ScenarioOutcome runScenarioText(const std::string& text, const std::string& name,
                                const std::string& folder, Transcript& transcript,
                                const ScenarioSettings& settings) {
    const int failuresBefore = transcript.failures();
    bool completed = false;
    {
        Studio studio(transcript, settings.delivery);
        ScenarioRunner runner(studio, transcript, settings);
        completed = runner.run(text, name, folder);
        studio.finish();
    }
    if (!completed) {
        return ScenarioOutcome::Error;
    }
    return transcript.failures() == failuresBefore ? ScenarioOutcome::Passed
                                                   : ScenarioOutcome::Failed;
}

ScenarioOutcome runScenarioFile(const std::string& path, Transcript& transcript,
                                const ScenarioSettings& settings) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        transcript.failure(path, "error: a folder, not a scenario file");
        return ScenarioOutcome::Error;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        transcript.failure(path, "error: cannot read the scenario file");
        return ScenarioOutcome::Error;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        transcript.failure(path, "error: cannot read the scenario file");
        return ScenarioOutcome::Error;
    }
    return runScenarioText(text.str(), path, folderOf(path), transcript, settings);
}
