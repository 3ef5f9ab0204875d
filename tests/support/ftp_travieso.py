"""An FTP server that fails on purpose, as real servers do on a bad day: pyftpdlib with one misbehaviour.

    ftp_travieso.py CAPRICHO CARPETA USUARIO CLAVE [BYTES_POR_SEGUNDO]

CAPRICHO is one of: normal, corta (drops the data connection of an upload half-way and says 426),
426 / 451 / 552 (the final reply of an upload, after all its bytes), muda (no final reply at all),
parada (stops reading an upload half-way, for good), vacia (keeps none of an upload's bytes, says 226),
stor (refuses STOR), sin-pasivo (refuses PASV and EPSV), sin-renombrar (refuses RNFR),
sin-reemplazar (refuses RNTO onto an existing file), sin-borrar (refuses DELE), sin-renombrar-ni-borrar
(refuses RNFR and DELE), sin-size (has no SIZE, as some servers do not), sin-punto (refuses to store a name that begins with a dot), rnto-muda (never
answers RNTO), rnto-corta (drops the control connection on RNTO), 552-a-medias (says 552 half-way
through an upload and drops its data connection), lenta (see below), pausada:S (holds every reply S
seconds, as a busy server does), cierre-lento:S (holds the closing reply of an upload S seconds).

BYTES_POR_SEGUNDO slows the data channel of uploads down to that pace. With a small receive window, so
that the client's bytes wait on its side as on a slow line; with "lenta", through the system's ordinary
buffers, which take a good part of an upload before the server has read it. Prints "puerto N" once it
listens on 127.0.0.1.
"""

import logging
import os
import socket
import struct
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, PassiveDTP
from pyftpdlib.log import logger
from pyftpdlib.servers import FTPServer

capricho, carpeta, usuario, clave = sys.argv[1:5]
capricho, _, segundos = capricho.partition(":")
espera = float(segundos or 0)
velocidad = int(sys.argv[5]) if len(sys.argv) > 5 else 0
CORTE = 4096  # bytes of an upload that "corta" and "parada" let in
FINALES = {
    "426": "426 Connection closed; transfer aborted.",
    "451": "451 Local error in processing.",
    "552": "552 Disk quota exceeded.",
}


class Pasivo(PassiveDTP):
    # Before listen(): the connection takes its window from the listening socket as the client connects.
    def create_socket(self, family, type):
        super().create_socket(family, type)
        if velocidad and capricho != "lenta":
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, max(1024, velocidad // 4))


class Datos(DTPHandler):
    def handle_read(self):
        if velocidad:
            self.ac_in_buffer_size = max(1, velocidad // 10)
        super().handle_read()
        if self._closed:
            return
        if capricho in ("corta", "552-a-medias") and self.tot_bytes_received >= CORTE:
            # A full quota is said before the server hangs up; the other reply comes after, as usual.
            if capricho == "552-a-medias":
                self.cmd_channel.respond(FINALES["552"])
            self._resp = (FINALES["426"], logger.info) if capricho == "corta" else None
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close()
        elif capricho == "parada" and self.tot_bytes_received >= CORTE:
            self.del_channel()
        elif velocidad:
            self.del_channel()
            self.ioloop.call_later(0.1, self.despertar)

    handle_read_event = handle_read  # what the loop calls: the base class binds its own

    def despertar(self):
        if not self._closed:
            self.add_channel(events=self.ioloop.READ)

    def close(self):
        if self.receive and not self._closed and self._resp and self._resp[0].startswith("226"):
            if capricho == "muda":
                self._resp = None
            elif capricho in FINALES:
                self._resp = (FINALES[capricho], logger.info)
            elif capricho == "vacia" and self.file_obj is not None:
                self.file_obj.truncate(0)
            elif capricho == "cierre-lento":
                final, self._resp = self._resp, None
                self.ioloop.call_later(espera, responder, self.cmd_channel, final[0])
        super().close()


# The commands a misbehaviour refuses, and its reply.
RECHAZOS = {
    "stor": ({"STOR"}, "553 Could not create file."),
    "sin-pasivo": ({"PASV", "EPSV"}, "502 Passive mode not allowed."),
    "sin-renombrar": ({"RNFR"}, "502 Command not implemented."),
    "sin-borrar": ({"DELE"}, "550 Permission denied."),
    "sin-renombrar-ni-borrar": ({"RNFR", "DELE"}, "550 Permission denied."),
    "sin-size": ({"SIZE"}, "502 Command not implemented."),
}


def responder(control, respuesta):
    if not control._closed:
        FTPHandler.respond(control, respuesta)


class Control(FTPHandler):
    dtp_handler = Datos
    passive_dtp = Pasivo

    def respond(self, resp, logfun=logger.debug):
        if capricho == "pausada":
            self.ioloop.call_later(espera, responder, self, resp)
        else:
            super().respond(resp, logfun)

    def process_command(self, cmd, *args, **kwargs):
        ordenes, respuesta = RECHAZOS.get(capricho, ((), ""))
        if cmd in ordenes:
            self.respond(respuesta)
        elif capricho == "sin-reemplazar" and cmd == "RNTO" and self._rnfr and self.fs.lexists(args[0]):
            self._rnfr = None
            self.respond("553 File exists.")
        elif capricho == "sin-punto" and cmd == "STOR" and os.path.basename(args[0]).startswith("."):
            self.respond("553 Prohibited file name.")
        elif capricho == "rnto-muda" and cmd == "RNTO":
            self._rnfr = None
        elif capricho == "rnto-corta" and cmd == "RNTO":
            self.close()
        else:
            super().process_command(cmd, *args, **kwargs)


logging.basicConfig(level=logging.DEBUG, stream=sys.stdout)
autorizador = DummyAuthorizer()
autorizador.add_user(usuario, clave, carpeta, perm="elradfmwMT")
Control.authorizer = autorizador
servidor = FTPServer(("127.0.0.1", 0), Control)
print("puerto", servidor.socket.getsockname()[1], flush=True)
servidor.serve_forever()
