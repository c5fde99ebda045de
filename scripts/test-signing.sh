#!/usr/bin/env bash
# Authenticode signatures for the tests and the demo, made with osslsigncode and a test
# certificate authority kept in a folder of the build tree (made on first use; only the tests'
# private Wine prefix is told to trust it). Signers:
#   publisher   the test publisher, issued by the test CA: the one the tests and the demo sign with
#   other       another publisher, issued by the same test CA
#   untrusted   the test publisher's name, issued by a CA nobody trusts (the chain is in the signature)
#   orphan      the test publisher's name, issued by a CA that is nowhere (a chain that breaks off)
#   lookalike   the test publisher's name on a self-signed certificate
# Usage: test-signing.sh DIR sign SIGNER IN OUT    sign IN as SIGNER into OUT (IN may be OUT)
#        test-signing.sh DIR tamper IN OUT         copy IN with one byte in its middle changed
#        test-signing.sh DIR ca                    make the CA and signers; print the CA's DER file
#        test-signing.sh DIR trust                 trust the CA in $WINEPREFIX's LocalMachine Root store
set -euo pipefail
dir="$1"
command="$2"
shift 2
publisher_subject="/C=DE/O=NVX Systems Test/CN=NVX Systems Test Publisher"

quiet() { "$@" >/dev/null 2>&1 || { echo "test-signing: failed: $*" >&2; "$@" >&2 || true; exit 1; }; }

make_ca() { # stem subject
    [ -f "$dir/$1.pem" ] && return
    quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/$1.key" -out "$dir/$1.pem" -days 3650 \
        -subj "$2" -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}

make_signer() { # stem issuer subject [chain]
    [ -f "$dir/$1.pem" ] && return
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
        >"$dir/signer.ext"
    quiet openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$1.key" -out "$dir/$1.csr" -subj "$3"
    quiet openssl x509 -req -in "$dir/$1.csr" -CA "$dir/$2.pem" -CAkey "$dir/$2.key" -set_serial "0x$(openssl rand -hex 8)" \
        -days 3650 -sha256 -extfile "$dir/signer.ext" -out "$dir/$1.leaf.pem"
    # The certificates the signature carries: the signer's, and its issuer's when asked.
    if [ "${4:-}" = chain ]; then
        cat "$dir/$1.leaf.pem" "$dir/$2.pem" >"$dir/$1.pem"
    else
        cp "$dir/$1.leaf.pem" "$dir/$1.pem"
    fi
}

make_all() {
    mkdir -p "$dir"
    make_ca ca "/CN=Lumetra Test Code Signing CA"
    make_ca unknown-ca "/CN=Unknown Code Signing CA"
    make_ca nowhere-ca "/CN=Vanished Code Signing CA"
    make_signer publisher ca "$publisher_subject"
    make_signer other ca "/C=DE/O=Other Maker/CN=Other Maker"
    make_signer untrusted unknown-ca "$publisher_subject" chain
    make_signer orphan nowhere-ca "$publisher_subject"
    if [ ! -f "$dir/lookalike.pem" ]; then
        quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/lookalike.key" -out "$dir/lookalike.pem" \
            -days 3650 -subj "$publisher_subject" -addext "extendedKeyUsage=codeSigning"
    fi
    [ -f "$dir/ca.der" ] || quiet openssl x509 -in "$dir/ca.pem" -outform DER -out "$dir/ca.der"
}

# One maker at a time: builds may sign several files at once.
mkdir -p "$dir"
exec 9>"$dir/.lock"
flock 9
make_all
case "$command" in
ca)
    echo "$dir/ca.der"
    ;;
sign)
    signer="$1" in="$2" out="$3"
    [ -f "$dir/$signer.pem" ] || { echo "test-signing: no signer $signer" >&2; exit 2; }
    tmp="$out.signing"
    rm -f "$tmp"
    quiet osslsigncode sign -certs "$dir/$signer.pem" -key "$dir/$signer.key" -h sha256 -in "$in" -out "$tmp"
    mv -f "$tmp" "$out"
    ;;
trust)
    # The store's registry form: the certificate as a serialized property (id 32, the encoded
    # certificate) under its SHA-1 thumbprint, as crypt32 writes it itself.
    thumbprint=$(openssl x509 -in "$dir/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
    blob=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(); print((struct.pack("<III",32,1,len(d))+d).hex())' "$dir/ca.der")
    wine reg add "HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint" /v Blob /t REG_BINARY /d "$blob" /f >/dev/null 2>&1
    ;;
tamper)
    in="$1" out="$2"
    python3 - "$in" "$out" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[len(data) // 2] ^= 0x01
open(sys.argv[2], "wb").write(data)
PY
    ;;
*)
    echo "usage: test-signing.sh DIR sign SIGNER IN OUT | tamper IN OUT | ca" >&2
    exit 2
    ;;
esac
