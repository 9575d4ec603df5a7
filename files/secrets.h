#pragma once
// Secrets in texts that reach a person: a journal server's address can carry a password, in a
// postgresql:// URI (user:PASSWORD@, ?password=, ?sslpassword=) or in libpq's keyword form
// (password=... sslpassword=..., a value possibly in single quotes). Every message that shows
// an address, or an argument that may hold one, shows it through this.

#include <QString>

// text with every password replaced by "***"; everything else stays as it was.
QString MaskSecrets(const QString& text);

// The passwords that address holds are masked wherever they turn up later, also where a text
// shows them in a shape no rule above recognises (a password with spaces, cut from its URI).
void RememberSecrets(const QString& address);

// Overwrites, in place, every password that the arguments hold, so that other users' process
// listings (ps) no longer show it. Each argument keeps its length or becomes shorter.
void HideSecretsInArguments(int argc, char** argv);
// Whether text names a PostgreSQL server (postgresql:// or postgres://).
bool IsServerUri(const QString& text);
// The URI for messages: without the password, wherever it was given.
QString MaskedServer(const QString& uri);
