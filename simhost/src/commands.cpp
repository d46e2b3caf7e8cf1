/*
 * Commands and their handlers (see commands.h).
 */
#include "commands.h"

#include <algorithm>

#include "plugin_call.h"

namespace simhost {

Command *Commands::create(const std::string &name, const std::string &description)
{
    if (Command *existing = find(name))
        return existing;
    auto command = std::make_unique<Command>();
    command->name = name;
    command->description = description;
    commands_.push_back(std::move(command));
    return commands_.back().get();
}

Command *Commands::find(const std::string &name) const
{
    for (const auto &command : commands_) {
        if (command->name == name)
            return command.get();
    }
    return nullptr;
}

Command *Commands::find(XPLMCommandRef ref) const
{
    for (const auto &command : commands_) {
        if (command.get() == ref)
            return command.get();
    }
    return nullptr;
}

void Commands::add_handler(Command *command, XPLMCommandCallback_f callback, bool before, void *refcon)
{
    auto handler = std::make_unique<CommandHandler>();
    handler->callback = callback;
    handler->before = before;
    handler->refcon = refcon;
    command->handlers.push_back(std::move(handler));
}

bool Commands::remove_handler(Command *command, XPLMCommandCallback_f callback, bool before, void *refcon)
{
    for (auto &handler : command->handlers) {
        if (!handler->removed && handler->callback == callback && handler->before == before && handler->refcon == refcon) {
            handler->removed = true;
            purge();
            return true;
        }
    }
    return false;
}

void Commands::begin(Command *command)
{
    command->held++;
    dispatch(command, xplm_CommandBegin);
}

void Commands::end(Command *command)
{
    if (command->held > 0)
        command->held--;
    dispatch(command, xplm_CommandEnd);
}

void Commands::continue_held()
{
    // Commands created by a handler are not held yet.
    size_t count = commands_.size();
    for (size_t i = 0; i < count; i++) {
        if (commands_[i]->held > 0)
            dispatch(commands_[i].get(), xplm_CommandContinue);
    }
}

void Commands::dispatch(Command *command, XPLMCommandPhase phase)
{
    if (!handlers_enabled_)
        return;
    dispatching_++;
    // Handlers registered during the dispatch wait for the next one.
    size_t count = command->handlers.size();
    bool stopped = false;
    for (bool before : {true, false}) {
        for (size_t i = 0; i < count && !stopped; i++) {
            CommandHandler *handler = command->handlers[i].get();
            if (handler->removed || handler->before != before || handler->callback == nullptr)
                continue;
            PluginCall call(CallbackKind::command);
            stopped = handler->callback(command, phase, handler->refcon) == 0;
        }
    }
    dispatching_--;
    purge();
}

int Commands::handler_count() const
{
    int count = 0;
    for (const auto &command : commands_)
        count += static_cast<int>(std::count_if(command->handlers.begin(), command->handlers.end(),
                                                [](const auto &h) { return !h->removed; }));
    return count;
}

void Commands::clear_handlers()
{
    for (auto &command : commands_) {
        for (auto &handler : command->handlers)
            handler->removed = true;
    }
    purge();
}

void Commands::purge()
{
    if (dispatching_ > 0)
        return;
    for (auto &command : commands_) {
        auto &handlers = command->handlers;
        handlers.erase(std::remove_if(handlers.begin(), handlers.end(), [](const auto &h) { return h->removed; }),
                       handlers.end());
    }
}

}  // namespace simhost
