"""SMTP peer of the mail tests and benchmark, on aiosmtpd.

smtp_server.py MODE DIR [CERT KEY]; prints "PORT <n>" once listening on 127.0.0.1.
Modes: plain, tls (implicit TLS with CERT/KEY), auth-plain, auth-login, auth-refuse, refuse-rcpt
(recipients whose local part starts with "refused"), drop (connection cut after DATA), silent (never
greets), sink (counts only, writes nothing per message).
Each message goes to DIR/msg-<n>.eml (as received) and DIR/msg-<n>.json (as Python's email parser
reads it); DIR/stats.json holds the connection counts.
"""
import asyncio
import email
import email.policy
import json
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult

MODE, DIR = sys.argv[1], sys.argv[2]
# AUTH without TLS is what these tests want; keep aiosmtpd's warnings about it out of the output.
warnings.filterwarnings("ignore")
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
LOGIN, PASSWORD = b"mailer", b"secret pw"
stats = {"current": 0, "max": 0, "sessions": 0, "messages": 0, "auth": []}


def write_json(name, value):
    if MODE == "sink" and name != "stats.json":
        return
    tmp = os.path.join(DIR, name + ".tmp")
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(value, f, ensure_ascii=False)
    os.replace(tmp, os.path.join(DIR, name))


def decode(raw):
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    sender = msg["from"].addresses[0]
    text_part = msg.get_body(preferencelist=("plain",))
    text = text_part.get_content()
    attachments = [{"name": p.get_filename(), "size": len(p.get_content())} for p in msg.iter_attachments()]
    return {
        "subject": str(msg["subject"]),
        "from_name": sender.display_name,
        "from_addr": sender.addr_spec,
        "to": str(msg["to"]),
        "content_type": text_part.get_content_type(),
        "charset": text_part.get_content_charset(),
        "cte": text_part["content-transfer-encoding"],
        "text": text.replace("\r\n", "\n"),
        "attachments": attachments,
    }


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if MODE == "refuse-rcpt" and address.startswith("refused"):
            return "550 5.1.1 Recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if MODE == "drop":
            server.transport.abort()
            return "250 OK"
        stats["messages"] += 1
        n = stats["messages"]
        if MODE != "sink":
            raw = envelope.original_content
            with open(os.path.join(DIR, "msg-%d.eml" % n), "wb") as f:
                f.write(raw)
            record = {"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos}
            try:
                record.update(decode(raw))
            except Exception as e:  # the C++ side reports it
                record["parse_error"] = repr(e)
            write_json("msg-%d.json" % n, record)
        write_json("stats.json", stats)
        return "250 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    stats["auth"].append([mechanism, auth_data.login.decode(), auth_data.password.decode()])
    ok = MODE != "auth-refuse" and auth_data.login == LOGIN and auth_data.password == PASSWORD
    # handled=False: a refusal must not make aiosmtpd stop listening
    return AuthResult(success=ok, handled=False)


class CountingSMTP(SMTP):
    def connection_made(self, transport):
        stats["current"] += 1
        stats["sessions"] += 1
        stats["max"] = max(stats["max"], stats["current"])
        write_json("stats.json", stats)
        super().connection_made(transport)

    def connection_lost(self, error):
        stats["current"] -= 1
        write_json("stats.json", stats)
        super().connection_lost(error)


class Silent(asyncio.Protocol):
    def connection_made(self, transport):
        self.transport = transport  # kept open, never a word


def factory():
    kwargs = {"hostname": "sink.test", "auth_require_tls": False, "authenticator": authenticator}
    if MODE.startswith("auth-"):
        kwargs["auth_required"] = True
        if MODE == "auth-plain":
            kwargs["auth_exclude_mechanism"] = ["LOGIN"]
        elif MODE == "auth-login":
            kwargs["auth_exclude_mechanism"] = ["PLAIN"]
    return CountingSMTP(Handler(), **kwargs)


async def main():
    loop = asyncio.get_running_loop()
    context = None
    if MODE == "tls":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[3], sys.argv[4])
    server = await loop.create_server(Silent if MODE == "silent" else factory, "127.0.0.1", 0, ssl=context)
    write_json("stats.json", stats)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


asyncio.run(main())
