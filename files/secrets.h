#pragma once
// Secrets in texts that reach a person: a journal server's address can carry a password, in a
// postgresql:// URI (user:PASSWORD@, ?password=, ?sslpassword=) or in libpq's keyword form
// (password=... sslpassword=..., a value possibly in single quotes). Every message that shows
// an address, or an argument that may hold one, shows it through this.

#include <QString>

// text with every password replaced by "***"; everything else stays as it was.
QString MaskSecrets(const QString& text);

// Whether text names a PostgreSQL server (postgresql:// or postgres://).
bool IsServerUri(const QString& text);
// The URI for messages: without the password, wherever it was given.
QString MaskedServer(const QString& uri);
