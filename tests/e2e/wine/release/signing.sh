#!/usr/bin/env bash
# Signed release: makes a throwaway self-signed code-signing certificate
# with openssl, runs scripts/release.sh --sign with it and checks with
# osslsigncode that velkora.exe (in the zip and in the package) and the
# package carry an intact SHA-256 signature naming that certificate, and
# that one changed byte breaks the signature of the exe. Needs no Wine.
# Prints PASS/FAIL per test; exit code non-zero on a failure.
#
#   tests/e2e/wine/release/signing.sh --build-dir <build/mingw64> [--work <dir>]
set -uo pipefail

work=signing-e2e
# shellcheck source=options.sh
source "$(dirname "$0")/options.sh"
rm -rf "$work"
mkdir -p "$work"
E2E_RUN=$work

name=velkora-$version-win64
out=$work/out
msi=$out/velkora-$version-x64.msi
subject="Velkora Testsignatur $$"
password="Kennwort $RANDOM$RANDOM"

# verified <file>: osslsigncode accepts the signature with the test
# certificate as the only trusted root, and it names that certificate.
verified() {
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.out" 2>&1 &&
    grep -qF "Subject: /CN=$subject" "$work/verify.out" &&
    grep -q 'Message digest algorithm *: SHA256' "$work/verify.out" &&
    grep -qx 'Signature verification: ok' "$work/verify.out"
}

signing_release() {
  local status=0
  e2e_begin "signing: release.sh --sign signs velkora.exe and the package with the given certificate"
  e2e_check "openssl makes a self-signed code-signing certificate" eval \
    "openssl req -x509 -newkey rsa:2048 -nodes -keyout '$work/key.pem' -out '$work/cert.pem' -days 2 \
       -subj '/CN=$subject' -addext 'extendedKeyUsage=codeSigning' -addext 'keyUsage=digitalSignature' \
       >'$work/openssl.out' 2>&1 &&
     openssl pkcs12 -export -inkey '$work/key.pem' -in '$work/cert.pem' -out '$work/cert.pfx' \
       -passout env:VELKORA_TEST_PASSWORD >>'$work/openssl.out' 2>&1"
  status=0
  env -u VELKORA_SIGN_PASSWORD "$root/scripts/release.sh" --no-build --build-dir "$build_dir" --out "$out" \
    --sign "$work/cert.pfx" >"$work/release-nopass.out" 2>&1 || status=$?
  e2e_check "without VELKORA_SIGN_PASSWORD it refuses" eval \
    "[[ $status != 0 ]] && grep -q VELKORA_SIGN_PASSWORD '$work/release-nopass.out' && [[ ! -e '$msi' ]]"
  status=0
  # Signing time now: the throwaway certificate is younger than the commit.
  VELKORA_SIGN_PASSWORD=$password SOURCE_DATE_EPOCH=$(date +%s) "$root/scripts/release.sh" --no-build \
    --build-dir "$build_dir" --out "$out" --sign "$work/cert.pfx" >"$work/release.out" 2>&1 || status=$?
  e2e_check "release.sh --sign exits with 0 (got $status; see $work/release.out)" test "$status" = 0
  e2e_check "it says what it signed" grep -q '^signed: velkora.exe and ' "$work/release.out"
  e2e_check "the password appears in none of its output" eval "! grep -qF '$password' '$work/release.out'"
  unzip -q -o "$out/$name.zip" "$name/velkora.exe" -d "$work/zip"
  msiextract -C "$work/msi" "$msi" >/dev/null 2>&1
  local exe=$work/zip/$name/velkora.exe msi_exe
  msi_exe=$(find "$work/msi" -name velkora.exe | head -n 1)
  e2e_check "velkora.exe of the zip: signature intact, naming the certificate" verified "$exe"
  e2e_check "velkora.exe of the package is the same signed file" cmp "$exe" "$msi_exe"
  e2e_check "the package: signature intact, naming the certificate" verified "$msi"
  e2e_check "the checksum files match the signed artefacts" eval \
    "(cd '$out' && sha256sum --check --strict --quiet '$name.zip.sha256' 'velkora-$version-x64.msi.sha256')"
  cp "$exe" "$work/changed.exe"
  # One byte of the code, well past the headers, turned into another.
  local byte
  byte=$(od -An -tu1 -j 8192 -N 1 "$exe" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 0xff)))" | dd of="$work/changed.exe" bs=1 seek=8192 conv=notrunc status=none
  e2e_check "the copy differs from the signed exe in one byte" eval \
    "[[ \$(cmp -l '$exe' '$work/changed.exe' | wc -l) == 1 ]]"
  e2e_check "one changed byte in the exe breaks its signature" eval "! verified '$work/changed.exe'"
  e2e_check "... because the digest no longer matches" eval "! grep -qx 'Signature verification: ok' '$work/verify.out'"
  e2e_end
}

export VELKORA_TEST_PASSWORD=$password
signing_release
e2e_summary
