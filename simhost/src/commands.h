/*
 * Commands by name. Handlers run in registration order, every before-handler
 * first, then the simulator's own processing (nothing here), then the
 * after-handlers; a handler returning 0 stops the rest of that phase. A
 * command held (begun and not ended) gets a continue phase every frame.
 */
#ifndef SIMHOST_COMMANDS_H
#define SIMHOST_COMMANDS_H

#include <memory>
#include <string>
#include <vector>

#include <XPLMUtilities.h>

namespace simhost {

struct CommandHandler {
    XPLMCommandCallback_f callback = nullptr;
    bool before = false;
    void *refcon = nullptr;
    bool removed = false;
};

struct Command {
    std::string name;
    std::string description;
    std::vector<std::unique_ptr<CommandHandler>> handlers;
    int held = 0;   // begins not yet ended
};

class Commands {
public:
    Command *create(const std::string &name, const std::string &description);
    Command *find(const std::string &name) const;
    Command *find(XPLMCommandRef ref) const;

    void add_handler(Command *command, XPLMCommandCallback_f callback, bool before, void *refcon);
    bool remove_handler(Command *command, XPLMCommandCallback_f callback, bool before, void *refcon);

    // Disabled: commands still begin and end, but no handler is called.
    void set_handlers_enabled(bool enabled) { handlers_enabled_ = enabled; }
    void begin(Command *command);
    void end(Command *command);
    void continue_held();
    int handler_count() const;
    void clear_handlers();

private:
    void dispatch(Command *command, XPLMCommandPhase phase);
    void purge();
    std::vector<std::unique_ptr<Command>> commands_;
    int dispatching_ = 0;
    bool handlers_enabled_ = true;
};

}  // namespace simhost

#endif
