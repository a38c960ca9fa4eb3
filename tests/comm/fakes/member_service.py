#!/usr/bin/python3
"""Stand-in for the member service in tests: an HTTPS server on 127.0.0.1
answering GET /request.php status requests with the reply lines the client
reads at fixed columns.

State (a JSON file, read on every request and written back after a change):
  ftp_host, ftp_password    file-store host and password of the slot table
  ids                       {communication id: [10 slots]}; an unknown id gets "920"
  slot fields               label, company_b64, nendo, kishu, kimatu, update,
                            password, version, usestart, use ("1" free, "2" in use)
  codes                     {request code: result code} forced answers
Reports (1810, 1820, 1823) fill their slot, 1830 sets its receive time, the
deletions (1750, 1753) empty it.
  now                       the service's clock "YYYY/MM/DD hh:mm:ss" (else real time)
Every request line is appended to the log file.
"""
import argparse
import datetime
import http.server
import json
import ssl
import urllib.parse

ZERO_TIME = "0000-00-00 00:00:00"


def empty_slot(n):
    return {"label": "%02d" % n, "company_b64": "", "nendo": "", "kishu": ZERO_TIME,
            "kimatu": ZERO_TIME, "update": ZERO_TIME, "password": "", "version": "",
            "usestart": ZERO_TIME, "use": "1"}


def code_line(code):
    return "%-10s%s" % ("RESULT", code)


def value_line(value):
    return "%-7s%s" % ("VALUE", value)


def head(code, comm_id):
    # Two empty lines first: the client skips them.
    return ["", "", "Pelorin member service", "%-10s%s" % ("REQUEST", code),
            "%-10s%s" % ("ID", comm_id), "STATUS"]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def now(self, state):
        if state.get("now"):
            return datetime.datetime.strptime(state["now"], "%Y/%m/%d %H:%M:%S")
        return datetime.datetime.now().replace(microsecond=0)

    def do_GET(self):
        args = self.server.args
        with open(args.log, "a", encoding="utf-8") as log:
            log.write(self.requestline + "\n")
            log.write("User-Agent=%s Connection=%s\n" % (self.headers.get("User-Agent"),
                                                           self.headers.get("Connection")))
        url = urllib.parse.urlsplit(self.path)
        q = {k: v[0] for k, v in urllib.parse.parse_qs(url.query, keep_blank_values=True).items()}
        with open(args.state, encoding="utf-8") as f:
            state = json.load(f)
        if url.path != "/request.php":
            self.send_error(404)
            return
        code = q.get("Scode", "")
        comm_id = q.get("sFName", "")
        lines = head(code, comm_id)
        slots = state.get("ids", {}).get(comm_id)
        forced = state.get("codes", {}).get(code)
        changed = False
        area = int(q.get("fSname", "0") or 0)
        slot = slots[area - 1] if slots and 1 <= area <= len(slots) else None
        now = self.now(state)
        with_value = code in ("1810", "1820", "1823", "1830", "1833")
        if slots is None:
            result = "920"
        elif forced:
            result = forced
        elif with_value and slot is None:
            result = "930"
        else:
            result = "000"
        value = ""
        if result == "000":
            if code == "1730" and slot is not None:
                slot["use"] = q.get("fShare", "1")
                if slot["use"] == "1":
                    slot["usestart"] = ZERO_TIME
                changed = True
            elif code == "1833":
                slot["use"] = "2"
                slot["usestart"] = now.strftime("%Y-%m-%d %H:%M:%S")
                value = now.strftime("%Y/%m/%d %H:%M:%S")
                changed = True
            elif code in ("1810", "1820", "1823"):
                kis, kie = q.get("fKis", ""), q.get("fKie", "")
                slot.update({
                    "company_b64": q.get("fSg", ""), "nendo": q.get("fNe", ""),
                    "kishu": "%s-%s-%s 00:00:00" % (kis[0:4], kis[4:6], kis[6:8]),
                    "kimatu": "%s-%s-%s 00:00:00" % (kie[0:4], kie[4:6], kie[6:8]),
                    "update": now.strftime("%Y-%m-%d %H:%M:%S"), "password": q.get("fPa", ""),
                    "version": q.get("fYobi", ""), "use": "1", "usestart": ZERO_TIME})
                value = now.strftime("%Y%m%d%H%M%S")
                changed = True
            elif code == "1830":
                slot["usestart"] = now.strftime("%Y-%m-%d %H:%M:%S")
                value = now.strftime("%Y%m%d%H%M%S")
                changed = True
            elif code in ("1750", "1753") and slot is not None:
                slots[area - 1] = empty_slot(area)
                changed = True
            elif with_value:
                value = now.strftime("%Y%m%d%H%M%S")
        if with_value:
            lines.append(value_line(value))
        lines.append(code_line(result))
        if code in ("1720", "1723", "1724") and result == "000":
            cloud = code != "1720"
            lines += ["%-7s%s" % ("FTPHOST", state.get("ftp_host", "")),
                      "%-7s%s" % ("FTPPASS", state.get("ftp_password", "")), "SLOTS  10"]
            for s in slots:
                lines += ["%-13s%s" % ("SLOT-LABEL", s["label"]), "%-10s%s" % ("COMPANY", s["company_b64"]),
                          "%-10s%s" % ("NENDO", s["nendo"]), "%-11s%s" % ("KISHU", s["kishu"]),
                          "%-11s%s" % ("KIMATU", s["kimatu"]), "%-10s%s" % ("UPDATE", s["update"]),
                          "%-10s%s" % ("PASSWORD", s["password"]), "%-12s%s" % ("VERSION", s["version"]),
                          "%-10s%s" % ("USESTART", s["usestart"])]
                if cloud:
                    lines.append("%-13s%s" % ("USE", s["use"]))
        if changed:
            with open(args.state, "w", encoding="utf-8") as f:
                json.dump(state, f, ensure_ascii=False, indent=1)
        body = ("\r\n".join(lines) + "\r\n").encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("X-Add", state.get("ftp_host", ""))
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    p = argparse.ArgumentParser()
    for name in ("cert", "key", "state", "log", "port-file"):
        p.add_argument("--" + name, required=True)
    args = p.parse_args()
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.args = args
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.minimum_version = ssl.TLSVersion.TLSv1_2
    ctx.load_cert_chain(args.cert, args.key)
    server.socket = ctx.wrap_socket(server.socket, server_side=True)
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
