#include "themesound.h"

#include <canberra.h>

void ThemeSound::Release::operator()(ca_context* context) const { ca_context_destroy(context); }

ThemeSound::~ThemeSound() = default;

bool ThemeSound::play(const char* eventId, const QString& description)
{
    if (!context) {
        ca_context* created = nullptr;
        if (ca_context_create(&created) != CA_SUCCESS)
            return false;
        context.reset(created);
        ca_context_change_props(created, CA_PROP_APPLICATION_NAME, "Quorvel Naval",
            CA_PROP_APPLICATION_ID, "quorvel-naval", CA_PROP_APPLICATION_ICON_NAME, "quorvel-naval",
            nullptr);
        if (ca_context_open(created) != CA_SUCCESS) {
            context.reset();
            return false;
        }
    }
    const int played = ca_context_play(context.get(), 0, CA_PROP_EVENT_ID, eventId,
        CA_PROP_EVENT_DESCRIPTION, description.toUtf8().constData(), nullptr);
    // A server gone since the connection was made leaves the context refusing every sound;
    // a sound missing from the theme does not.
    if (played == CA_ERROR_STATE || played == CA_ERROR_DISCONNECTED
        || played == CA_ERROR_NOTAVAILABLE)
        context.reset();
    return played == CA_SUCCESS;
}
