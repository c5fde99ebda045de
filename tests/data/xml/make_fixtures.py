#!/usr/bin/env python3
"""Writes the binary text-decoding fixtures of this folder (run from anywhere)."""
import os

here = os.path.dirname(os.path.abspath(__file__))
body = '<a>\u00e9\u20ac\U0001D11E</a>'  # e-acute, euro sign, a character outside the BMP

fixtures = {
    'utf8_bom_declares_1252.xml': b'\xef\xbb\xbf<?xml version="1.0" encoding="windows-1252"?>'
                                  + '<a>\u00e9</a>'.encode('utf-8'),
    'utf16le_bom.xml': b'\xff\xfe' + body.encode('utf-16-le'),
    'utf16be_bom.xml': b'\xfe\xff' + body.encode('utf-16-be'),
    'utf16le_bom_odd_length.xml': b'\xff\xfe' + '<a>x</a>'.encode('utf-16-le') + b'\x41',
    'utf16le_bom_nuls.xml': b'\xff\xfe' + '<a>x\0y</a>'.encode('utf-16-le'),
    'utf16le_without_bom.xml': '<a>plain</a>'.encode('utf-16-le'),
    'declared_windows_1252.xml': b'<?xml version="1.0" encoding="windows-1252"?><a>\x80\xe9</a>',
    'declared_iso_8859_1.xml': b'<?xml version="1.0" encoding="ISO-8859-1"?><a>\x80\xe9</a>',
    'declared_utf16_in_8bit.xml': b'<?xml version="1.0" encoding="utf-16"?><a>\xc3\xa9</a>',
    'declaration_after_blank_line.xml': b'\n<?xml version="1.0" encoding="ISO-8859-1"?><a>\x80</a>',
    'no_declaration_starts_with_lt.xml': b'<a>\xe9x</a>',
    'blank_line_utf8.xml': b'\n<a>\xc3\xa9</a>',
    'blank_line_ansi.xml': b'\n<a>\xe9x</a>',
    'nul_in_8bit.xml': b'<a>x\0y\0</a>',
    'html_meta_charset.html': b'<html><head><meta http-equiv="Content-Type" content="text/html; charset=koi8-r">'
                              b'</head><body>\xc1</body></html>',
    'empty.xml': b'',
    'manifest_like.xml': ('<?xml version="1.0" encoding="utf-8"?>\r\n<!-- product -->\r\n<manifest>\r\n'
                          '  <product name="x">\r\n    <name>Lumetra &amp; Co</name>\r\n'
                          '    <version>1.2.3.4</version>\r\n    <![CDATA[<raw>]]>\r\n  </product>\r\n'
                          '  <language id="1031"><file>de.msi</file></language>\r\n'
                          '  <language id="1036"><file>fr.msi</file></language>\r\n'
                          '</manifest>\r\n').encode('utf-8'),
}

for name, data in fixtures.items():
    with open(os.path.join(here, name), 'wb') as f:
        f.write(data)
