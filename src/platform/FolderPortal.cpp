#include "platform/FolderPortal.h"

#include "platform/Bus.h"
#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace Platform {
namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
constexpr int kPollMs = 100;
// Starting the portal on first use may take a while; after this the answer
// counts as "not available".
constexpr int kCallTimeoutMs = 25000;

// libdbus starts a bus of its own for the display when it finds none; a
// folder dialog must never leave such a daemon behind.
bool SessionBusExists()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' && PathExists(std::string(runtime) + "/bus");
}

std::string NewToken()
{
    static std::atomic<unsigned> counter{0};
    return "lexivar_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

// The object path the portal gives the request, known before the call so the
// answer cannot slip past us.
std::string RequestPath(DBusConnection* bus, const std::string& token)
{
    std::string sender = dbus_bus_get_unique_name(bus);
    if (!sender.empty() && sender[0] == ':') sender.erase(0, 1);
    for (char& c : sender)
        if (c == '.') c = '_';
    return "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
}

void AppendOption(DBusMessageIter* dict, const char* key, int type, const char* signature, const void* value)
{
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
    dbus_message_iter_append_basic(&variant, type, value);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(dict, &entry);
}

DBusMessage* OpenFileCall(const std::string& title, const std::string& token)
{
    DBusMessage* call = dbus_message_new_method_call(kPortal, "/org/freedesktop/portal/desktop",
                                                     "org.freedesktop.portal.FileChooser", "OpenFile");
    if (call == nullptr) return nullptr;
    const char* parent = "";
    const char* titleText = title.c_str();
    const char* tokenText = token.c_str();
    const dbus_bool_t yes = TRUE;
    DBusMessageIter args, dict;
    dbus_message_iter_init_append(call, &args);
    dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &parent);
    dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &titleText);
    dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, "{sv}", &dict);
    AppendOption(&dict, "handle_token", DBUS_TYPE_STRING, "s", &tokenText);
    AppendOption(&dict, "directory", DBUS_TYPE_BOOLEAN, "b", &yes);
    AppendOption(&dict, "modal", DBUS_TYPE_BOOLEAN, "b", &yes);
    dbus_message_iter_close_container(&args, &dict);
    return call;
}

// The first entry of "uris" in the response's results.
std::optional<std::string> FirstUri(DBusMessageIter* results)
{
    if (dbus_message_iter_get_arg_type(results) != DBUS_TYPE_ARRAY) return std::nullopt;
    DBusMessageIter dict;
    for (dbus_message_iter_recurse(results, &dict); dbus_message_iter_get_arg_type(&dict) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&dict)) {
        DBusMessageIter entry, variant, uris;
        dbus_message_iter_recurse(&dict, &entry);
        if (dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_STRING) continue;
        const char* key = nullptr;
        dbus_message_iter_get_basic(&entry, &key);
        if (std::string_view(key) != "uris" || !dbus_message_iter_next(&entry)) continue;
        dbus_message_iter_recurse(&entry, &variant);
        if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_ARRAY) return std::nullopt;
        dbus_message_iter_recurse(&variant, &uris);
        if (dbus_message_iter_get_arg_type(&uris) != DBUS_TYPE_STRING) return std::nullopt;
        const char* uri = nullptr;
        dbus_message_iter_get_basic(&uris, &uri);
        return std::string(uri);
    }
    return std::nullopt;
}

struct PendingRequest {
    std::string path;
    bool answered = false;
    ChooserAnswer answer;
};

// Response(u code, a{sv} results): 0 chosen, 1 cancelled by the user, 2 ended
// some other way (a backend that could not show its dialog), which leaves the
// question to the next chooser.
void ReadResponse(DBusMessage* signal, PendingRequest& request)
{
    DBusMessageIter args;
    dbus_uint32_t code = 2;
    if (dbus_message_iter_init(signal, &args) && dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_UINT32) {
        dbus_message_iter_get_basic(&args, &code);
        dbus_message_iter_next(&args);
    }
    request.answered = true;
    request.answer.shown = code != 2;
    if (code != 0) return;
    if (auto uri = FirstUri(&args)) request.answer.folder = FileUriToPath(*uri);
}

DBusHandlerResult OnMessage(DBusConnection*, DBusMessage* message, void* data)
{
    auto& request = *static_cast<PendingRequest*>(data);
    const char* path = dbus_message_get_path(message);
    if (!dbus_message_is_signal(message, kRequest, "Response") || path == nullptr || request.path != path)
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    ReadResponse(message, request);
    return DBUS_HANDLER_RESULT_HANDLED;
}

// Closes the dialog of a request we no longer wait for.
void CloseRequest(DBusConnection* bus, const std::string& path)
{
    BusMessage close(dbus_message_new_method_call(kPortal, path.c_str(), kRequest, "Close"));
    if (close.get() == nullptr) return;
    dbus_message_set_no_reply(close.get(), TRUE);
    dbus_connection_send(bus, close.get(), nullptr);
    dbus_connection_flush(bus);
}

// The portal's reply to OpenFile: the request's object path, or nothing when
// there is no portal or it has no file chooser.
std::optional<std::string> ReplyPath(DBusPendingCall* pending)
{
    BusMessage reply(dbus_pending_call_steal_reply(pending));
    const char* path = nullptr;
    if (reply.get() == nullptr || dbus_message_get_type(reply.get()) != DBUS_MESSAGE_TYPE_METHOD_RETURN ||
        !dbus_message_get_args(reply.get(), nullptr, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID))
        return std::nullopt;
    return std::string(path);
}

ChooserAnswer Wait(DBusConnection* bus, DBusPendingCall* pending, PendingRequest& request, std::stop_token stop)
{
    bool replied = false;
    while (!request.answered) {
        if (stop.stop_requested()) {
            if (replied) CloseRequest(bus, request.path);
            return {true, std::nullopt};
        }
        if (!dbus_connection_read_write_dispatch(bus, kPollMs)) return {replied, std::nullopt};
        if (!replied && dbus_pending_call_get_completed(pending)) {
            auto path = ReplyPath(pending);
            if (!path) return {};
            // Older portals ignore the token and name the request themselves.
            request.path = *path;
            replied = true;
        }
    }
    return request.answer;
}

}  // namespace

ChooserAnswer AskPortal(const std::string& title, std::stop_token stop)
{
    if (!SessionBusExists()) return {};
    auto connection = BusConnection::Open(DBUS_BUS_SESSION);
    if (!connection) return {};
    DBusConnection* bus = connection->get();
    const std::string token = NewToken();
    PendingRequest request;
    request.path = RequestPath(bus, token);
    const std::string rule = std::string("type='signal',sender='") + kPortal + "',interface='" + kRequest +
                             "',member='Response'";
    dbus_bus_add_match(bus, rule.c_str(), nullptr);
    if (!dbus_connection_add_filter(bus, &OnMessage, &request, nullptr)) return {};
    BusMessage call(OpenFileCall(title, token));
    DBusPendingCall* pending = nullptr;
    ChooserAnswer answer;
    if (call.get() != nullptr && dbus_connection_send_with_reply(bus, call.get(), &pending, kCallTimeoutMs) &&
        pending != nullptr) {
        answer = Wait(bus, pending, request, stop);
        dbus_pending_call_cancel(pending);
        dbus_pending_call_unref(pending);
    }
    dbus_connection_remove_filter(bus, &OnMessage, &request);
    return answer;
}

}  // namespace Platform
