#!/usr/bin/env python3
"""Writes the checker's cases: a clean manifest and version.xml, and one file per mistake made
from them. Each case starts with a comment naming what the checker must find there, one
"expect" line per finding: severity, code and the line:column of the element it points at
(the first start tag of the anchor text in the written file, worked out here from the text)."""
import os

here = os.path.dirname(os.path.abspath(__file__))
PIN = {
    'msi': 'a' * 64, 'mst1031': 'b' * 64, 'mst1036': 'c' * 64, 'lp1031': 'd' * 64, 'lp1036': 'e' * 64,
    'vc': 'f' * 64, 'wv': '0123456789abcdef' * 4,
}

MANIFEST = f'''<?xml version="1.0" encoding="utf-8"?>
<nvxwebinstaller>
    <web_installer_version>1.0.0.5</web_installer_version>
    <product_code>{{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}}</product_code>
    <product>
        <pid>LUMPRO17EN</pid>
        <full_name>Lumetra Professional</full_name>
        <short_name>Lumetra</short_name>
        <registry>SOFTWARE\\NVX Systems\\Lumetra Professional\\170</registry>
        <standalone>false</standalone>
        <standalone_version>17.0.0.100</standalone_version>
        <version_check_url>http://downloads.example.com/lumetra/version.xml</version_check_url>
        <publisher>NVX Systems GmbH</publisher>
        <main_component>
            <name>LumetraProfessional.msi</name>
            <executable>Lumetra.exe</executable>
            <full_url>http://downloads.example.com/lumetra/LumetraProfessional.msi</full_url>
            <sha256>{PIN['msi']}</sha256>
            <transform>
                <lang_id>1031</lang_id>
                <name>1031.mst</name>
                <full_url>http://downloads.example.com/lumetra/1031.mst</full_url>
                <sha256>{PIN['mst1031']}</sha256>
            </transform>
            <transform>
                <lang_id>1036</lang_id>
                <name>1036.mst</name>
                <full_url>https://downloads.example.com/lumetra/1036.mst</full_url>
                <sha256>{PIN['mst1036']}</sha256>
            </transform>
        </main_component>
        <language_pack>
            <lang_id>1031</lang_id>
            <pid>LUMPRO17DE</pid>
            <name>language_pack_1031.exe</name>
            <full_url>http://downloads.example.com/lumetra/language_pack_1031.exe</full_url>
            <sha256>{PIN['lp1031']}</sha256>
        </language_pack>
        <language_pack>
            <lang_id>1036</lang_id>
            <pid>LUMPRO17FR</pid>
            <name>language_pack_1036.exe</name>
            <full_url>http://downloads.example.com/lumetra/language_pack_1036.exe</full_url>
            <sha256>{PIN['lp1036']}</sha256>
        </language_pack>
        <dependency>
            <name>vc_redist.exe</name>
            <full_url>http://downloads.example.com/lumetra/vc_redist.exe</full_url>
            <install_commandline>/install /quiet /norestart</install_commandline>
            <sha256>{PIN['vc']}</sha256>
        </dependency>
        <dependency>
            <name>webview2.exe</name>
            <full_url>https://downloads.example.com/lumetra/webview2.exe</full_url>
            <install_commandline>/silent /install</install_commandline>
            <sha256>{PIN['wv']}</sha256>
        </dependency>
    </product>
</nvxwebinstaller>
'''

VERSION = '''<?xml version="1.0" encoding="utf-8"?>
<nvxwebinstaller>
    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}</product_code>
    <fresh_install>
        <product_version>17.0.0.100</product_version>
        <min_web_installer_version>1.0.0.5</min_web_installer_version>
        <web_installer_download_url>http://downloads.example.com/lumetra/webinstaller.exe</web_installer_download_url>
    </fresh_install>
    <patch_install>
        <product_version>17.0.0.101</product_version>
        <min_web_installer_version>1.0.0.5</min_web_installer_version>
        <web_installer_download_url>http://downloads.example.com/lumetra/webinstaller.exe</web_installer_download_url>
    </patch_install>
</nvxwebinstaller>
'''

DEP_VC = MANIFEST[MANIFEST.index('        <dependency>'):MANIFEST.index('        <dependency>\n            <name>webview2')]
LP_1036 = MANIFEST[MANIFEST.index('        <language_pack>\n            <lang_id>1036'):MANIFEST.index('        <dependency>')]
MST_1036 = MANIFEST[MANIFEST.index('            <transform>\n                <lang_id>1036'):MANIFEST.index('        </main_component>')]


def case(base, old, new, *expected, count=1):
    assert base.count(old) >= count, old
    return base.replace(old, new, count), expected


# name: (text, ((severity, code, anchor), ...)); the anchor is text of the written file whose first
# occurrence starts at the element the finding points at.
MANIFEST_CASES = {
    'unclosed_tag': case(MANIFEST, '<short_name>Lumetra</short_name>', '<short_name>Lumetra',
                         ('error', 'not-readable', '<short_name>')),
    'other_root': case(MANIFEST, 'nvxwebinstaller>', 'webinstaller>', ('error', 'missing-field', '<webinstaller>'),
                       count=2),
    'no_product': case(MANIFEST, MANIFEST[MANIFEST.index('    <product>'):MANIFEST.index('</nvxwebinstaller>')], '',
                       ('error', 'missing-field', '<nvxwebinstaller>')),
    'product_before_code': case(MANIFEST.replace(
        '    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}</product_code>\n', ''),
        '</product>\n', '</product>\n    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}</product_code>\n',
        ('error', 'out-of-order', '<product>')),
    'no_pid': case(MANIFEST, '        <pid>LUMPRO17EN</pid>\n', '', ('error', 'missing-field', '<product>')),
    'empty_registry': case(MANIFEST, '<registry>SOFTWARE\\NVX Systems\\Lumetra Professional\\170</registry>',
                           '<registry></registry>', ('error', 'missing-value', '<registry>')),
    'registry_before_pid': case(MANIFEST.replace(
        '        <registry>SOFTWARE\\NVX Systems\\Lumetra Professional\\170</registry>\n', ''),
        '        <pid>', '        <registry>SOFTWARE\\NVX</registry>\n        <pid>',
        ('error', 'out-of-order', '<registry>')),
    'version_check_url_first': case(MANIFEST.replace(
        '        <version_check_url>http://downloads.example.com/lumetra/version.xml</version_check_url>\n', ''),
        '        <pid>', '        <version_check_url>http://h/version.xml</version_check_url>\n        <pid>',
        ('error', 'out-of-order', '<version_check_url>')),
    'pid_twice': case(MANIFEST, '        <full_name>', '        <pid>LUMPRO17DE</pid>\n        <full_name>',
                      ('warning', 'repeated-element', '<pid>LUMPRO17DE')),
    'pid_holds_elements': case(MANIFEST, '<pid>LUMPRO17EN</pid>', '<pid><b>LUMPRO17EN</b></pid>',
                               ('error', 'misread-value', '<pid>'), ('error', 'missing-value', '<pid>')),
    'standalone_yes': case(MANIFEST, '<standalone>false</standalone>', '<standalone>yes</standalone>',
                           ('warning', 'bad-value', '<standalone>')),
    'no_version_check_url': case(
        MANIFEST, '        <version_check_url>http://downloads.example.com/lumetra/version.xml</version_check_url>\n',
        '', ('error', 'missing-field', '<product>')),
    'no_product_code': case(MANIFEST, '    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}</product_code>\n',
                            '', ('error', 'missing-field', '<nvxwebinstaller>')),
    'product_code_without_braces': case(MANIFEST, '<product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}',
                                        '<product_code>6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60',
                                        ('error', 'bad-product-code', '<product_code>')),
    'installer_version_three_numbers': case(MANIFEST, '<web_installer_version>1.0.0.5<',
                                            '<web_installer_version>1.0.5<',
                                            ('error', 'bad-version', '<web_installer_version>')),
    'standalone_version_with_letters': case(MANIFEST, '<standalone_version>17.0.0.100<',
                                            '<standalone_version>17.0.0.100b<',
                                            ('error', 'bad-version', '<standalone_version>')),
    'main_without_name': case(MANIFEST, '            <name>LumetraProfessional.msi</name>\n', '',
                              ('error', 'missing-field', '<main_component>')),
    'main_without_url': case(
        MANIFEST, '            <full_url>http://downloads.example.com/lumetra/LumetraProfessional.msi</full_url>\n',
        '', ('error', 'missing-field', '<main_component>')),
    'main_url_misspelt': case(MANIFEST, '<full_url>http://downloads.example.com/lumetra/LumetraProfessional.msi'
                                        '</full_url>',
                              '<full_ur1>http://downloads.example.com/lumetra/LumetraProfessional.msi</full_ur1>',
                              ('error', 'missing-field', '<main_component>'),
                              ('warning', 'unknown-element', '<full_ur1>')),
    'main_url_ftp': case(MANIFEST, 'http://downloads.example.com/lumetra/LumetraProfessional.msi',
                         'ftp://downloads.example.com/lumetra/LumetraProfessional.msi',
                         ('error', 'bad-url', '<full_url>ftp')),
    'url_without_host': case(MANIFEST, 'http://downloads.example.com/lumetra/1031.mst', 'http:///lumetra/1031.mst',
                             ('error', 'bad-url', '<full_url>http:///')),
    'main_name_with_path': case(MANIFEST, '<name>LumetraProfessional.msi</name>', '<name>..\\LumetraProfessional.msi</name>',
                                ('error', 'bad-file-name', '<name>..')),
    'full_name_with_slash': case(MANIFEST, '<full_name>Lumetra Professional</full_name>',
                                 '<full_name>Lumetra Photo/Video</full_name>', ('error', 'bad-file-name', '<full_name>')),
    'dependency_device_name': case(MANIFEST, '<name>vc_redist.exe</name>', '<name>con.exe</name>',
                                   ('error', 'bad-file-name', '<name>con.exe')),
    'transform_without_lang_id': case(MANIFEST, MST_1036, MST_1036 + MST_1036.replace(
        '                <lang_id>1036</lang_id>\n', ''), ('error', 'dropped-entry', '<transform>\n                <name>')),
    'language_pack_without_lang_id': case(MANIFEST, LP_1036, LP_1036 + LP_1036.replace(
        '            <lang_id>1036</lang_id>\n', ''), ('error', 'dropped-entry', '<language_pack>\n            <pid>')),
    'dependency_without_name': case(MANIFEST, DEP_VC, DEP_VC + DEP_VC.replace(
        '            <name>vc_redist.exe</name>\n', ''), ('error', 'dropped-entry', '<dependency>\n            <full_url>')),
    'dependency_between_language_packs': case(MANIFEST.replace(DEP_VC, ''), LP_1036, DEP_VC + LP_1036,
                                              ('error', 'out-of-order', '<dependency>')),
    'lang_id_with_letters': case(MANIFEST, '<lang_id>1036</lang_id>', '<lang_id>1036fr</lang_id>',
                                 ('error', 'bad-language-id', '<lang_id>1036fr')),
    'transform_twice': case(MANIFEST, MST_1036, MST_1036 + MST_1036.replace('1036.mst', '1036-fr.mst'),
                            ('error', 'duplicate-language', '<transform>\n                <lang_id>1036</lang_id>\n'
                                                            '                <name>1036-fr.mst')),
    'language_pack_twice': case(MANIFEST, LP_1036, LP_1036 + LP_1036.replace('LUMPRO17FR', 'LUMPRO17FX'),
                                ('error', 'duplicate-language', '<language_pack>\n            <lang_id>1036</lang_id>\n'
                                                                '            <pid>LUMPRO17FX')),
    'language_pack_without_transform': case(MANIFEST, MST_1036, '',
                                            ('error', 'language-pair', '<language_pack>\n            <lang_id>1036')),
    'transform_without_language_pack': case(MANIFEST, LP_1036, '',
                                            ('warning', 'language-pair', '<transform>\n                <lang_id>1036')),
    'no_pin': case(MANIFEST, f'            <sha256>{PIN["vc"]}</sha256>\n', '',
                   ('warning', 'missing-pin', '<dependency>')),
    'short_pin': case(MANIFEST, PIN['msi'], PIN['msi'][:63], ('error', 'bad-pin', '<sha256>')),
    'no_publisher': case(MANIFEST, '        <publisher>NVX Systems GmbH</publisher>\n', '',
                         ('warning', 'missing-publisher', '<product>')),
}

VERSION_CASES = {
    'unclosed_section': case(VERSION, '    </fresh_install>\n', '', ('error', 'not-readable', '<fresh_install>')),
    'other_root': case(VERSION, 'nvxwebinstaller>', 'release>', ('error', 'missing-field', '<release>'), count=2),
    'minimum_of_another_major': case(VERSION, '<min_web_installer_version>1.0.0.5<',
                                     '<min_web_installer_version>9.0.0.0<',
                                     ('error', 'self-update-never', '<min_web_installer_version>')),
    'minimum_newer_in_third_number': case(VERSION, '<min_web_installer_version>1.0.0.5<',
                                          '<min_web_installer_version>1.0.1.5<',
                                          ('error', 'self-update-never', '<min_web_installer_version>')),
    'minimum_newer_in_second_number_only': case(VERSION, '<min_web_installer_version>1.0.0.5<',
                                                '<min_web_installer_version>1.1.0.3<',
                                                ('error', 'self-update-never', '<min_web_installer_version>')),
    'minimum_older_but_higher_build': case(VERSION, '<min_web_installer_version>1.0.0.5<',
                                           '<min_web_installer_version>0.9.0.0<',
                                           ('error', 'self-update-never', '<min_web_installer_version>')),
    'minimum_without_download': case(VERSION.replace('<min_web_installer_version>1.0.0.5<',
                                                     '<min_web_installer_version>1.0.0.6<', 1),
                                     '        <web_installer_download_url>http://downloads.example.com/lumetra/'
                                     'webinstaller.exe</web_installer_download_url>\n', '',
                                     ('error', 'missing-field', '<fresh_install>')),
    'product_version_three_numbers': case(VERSION, '<product_version>17.0.0.101<', '<product_version>17.0.101<',
                                          ('error', 'bad-version', '<product_version>17.0.101')),
    'download_url_file': case(VERSION, 'http://downloads.example.com/lumetra/webinstaller.exe',
                              'file:///srv/lumetra/webinstaller.exe',
                              ('error', 'bad-url', '<web_installer_download_url>')),
    'patch_of_another_major': case(VERSION, '<product_version>17.0.0.101<', '<product_version>18.0.0.1<',
                                   ('error', 'sections-disagree', '<product_version>18')),
    'patch_older_than_fresh': case(VERSION, '<product_version>17.0.0.101<', '<product_version>17.0.0.99<',
                                   ('error', 'sections-disagree', '<product_version>17.0.0.99')),
    'fresh_before_product_code': case(
        VERSION.replace('    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}</product_code>\n', ''),
        '    </fresh_install>\n', '    </fresh_install>\n    <product_code>{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}'
                                  '</product_code>\n',
        ('error', 'out-of-order', '<fresh_install>')),
    'patch_before_fresh': case(VERSION, VERSION[VERSION.index('    <fresh_install>'):VERSION.index('</nvxwebinstaller>')],
                               VERSION[VERSION.index('    <patch_install>'):VERSION.index('</nvxwebinstaller>')] +
                               VERSION[VERSION.index('    <fresh_install>'):VERSION.index('    <patch_install>')],
                               ('error', 'out-of-order', '<patch_install>')),
    'another_product': case(VERSION, '{6D3F2A41-7C55-4E0B-9A8E-2B1C0D4E5F60}', '{11111111-2222-3333-4444-555555555555}',
                            ('warning', 'other-product', '<product_code>')),
    'no_patch_version': case(VERSION, '        <product_version>17.0.0.101</product_version>\n', '',
                             ('error', 'missing-field', '<patch_install>')),
}


def write(folder, name, text, expected):
    # The comment goes right after the declaration, which must stay first; anchors are looked for
    # in the document after it.
    declaration_end = text.index('?>') + 3
    comment = '<!--\n' + ''.join(f'expect: {severity} {code} POS{i}\n'
                                  for i, (severity, code, _) in enumerate(expected)) + '-->\n'
    text = text[:declaration_end] + comment + text[declaration_end:]
    body_start = declaration_end + len(comment)
    for i, (_, _, anchor) in enumerate(expected):
        offset = text.index(anchor, body_start)
        line = text.count('\n', 0, offset) + 1
        column = offset - (text.rfind('\n', 0, offset) + 1) + 1
        text = text.replace(f'POS{i}\n', f'{line}:{column}\n', 1)
    os.makedirs(os.path.join(here, folder), exist_ok=True)
    with open(os.path.join(here, folder, name + '.xml'), 'w', newline='\n') as f:
        f.write(text)


with open(os.path.join(here, 'manifestPro.xml'), 'w', newline='\n') as f:
    f.write(MANIFEST)
with open(os.path.join(here, 'version.xml'), 'w', newline='\n') as f:
    f.write(VERSION)
for name, (text, expected) in MANIFEST_CASES.items():
    write('manifest', name, text, expected)
for name, (text, expected) in VERSION_CASES.items():
    write('version', name, text, expected)
