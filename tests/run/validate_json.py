#!/usr/bin/python3
"""validate_json.py SCHEMA DOCUMENT: validates a JSON document against a JSON
Schema (draft 2020-12) with Debian's python3-jsonschema. Prints each error and
exits 1 when there are any, 2 when the schema itself is not valid."""
import json
import sys

from jsonschema import Draft202012Validator
from jsonschema.exceptions import SchemaError


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        document = json.load(f)
    try:
        Draft202012Validator.check_schema(schema)
    except SchemaError as e:
        print("schema:", e.message)
        return 2
    errors = sorted(Draft202012Validator(schema).iter_errors(document), key=lambda e: list(e.absolute_path))
    for e in errors:
        print("/".join(str(p) for p in e.absolute_path) + ":", e.message)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
